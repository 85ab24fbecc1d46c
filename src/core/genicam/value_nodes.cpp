#include <cmath>
#include <cstdio>
#include <limits>
#include <tuple>

#include "core/genicam/node_kinds.h"
#include "core/genicam/node_map.h"

namespace vk::genicam {
namespace {

template <typename T>
Got<T> Fail(const std::string& why) {
    return Got<T>::Fail(why);
}

std::string Number(double v) {
    return RealText(v);
}

}  // namespace

const Node* ValueNode::Target(Eval e, std::string& reason) const {
    const Prop* p = Find("pValue");
    if (p == nullptr) return nullptr;
    const Got<const Node*> n = e.map.Resolve(e.Deeper(), p->text);
    if (!n) reason = n.reason;
    return n ? *n : nullptr;
}

Access ValueNode::OwnAccess(Eval e) const {
    std::string reason;
    if (const Node* target = Target(e, reason)) return target->GetAccess(e.Deeper());
    if (!reason.empty()) return Access::NA;
    return Has("Value") ? Access::RW : Access::NI;
}

Got<std::int64_t> ValueNode::Int(Eval e) const {
    std::string reason;
    if (const Node* target = Target(e, reason)) return target->Int(e.Deeper());
    if (!reason.empty()) return Fail<std::int64_t>(reason);
    if (const auto local = e.map.LocalInt(*this)) return Got<std::int64_t>{*local, {}};
    if (const auto local = e.map.LocalReal(*this)) {
        return Got<std::int64_t>{static_cast<std::int64_t>(*local), {}};
    }
    return IntOf(e, "Value", "pValueCopy");
}

Got<double> ValueNode::Real(Eval e) const {
    std::string reason;
    if (const Node* target = Target(e, reason)) return target->Real(e.Deeper());
    if (!reason.empty()) return Fail<double>(reason);
    if (const auto local = e.map.LocalReal(*this)) return Got<double>{*local, {}};
    if (const auto local = e.map.LocalInt(*this)) {
        return Got<double>{static_cast<double>(*local), {}};
    }
    return RealOf(e, "Value", "pValueCopy");
}

Got<std::string> ValueNode::String(Eval e) const {
    if (GetKind() != Kind::String) return Node::String(e);
    std::string reason;
    if (const Node* target = Target(e, reason)) return target->String(e.Deeper());
    if (!reason.empty()) return Fail<std::string>(reason);
    if (const auto local = e.map.LocalString(*this)) return Got<std::string>{*local, {}};
    if (Has("Value")) return Got<std::string>{Text("Value"), {}};
    return Fail<std::string>(Name() + " has no value");
}

Done ValueNode::CheckRange(Eval e, double value) const {
    const Got<RealLimits> l = RealRange(e);
    if (l && (value < l.value->min || value > l.value->max)) {
        return Done::Fail(Number(value) + " is outside " + Number(l.value->min) + " to " +
                          Number(l.value->max));
    }
    return Ok();
}

Done ValueNode::SetInt(Eval e, std::int64_t value) const {
    std::string reason;
    const Node* target = Target(e, reason);
    if (!reason.empty()) return Done::Fail(reason);
    Done d = target != nullptr ? target->SetInt(e.Deeper(), value) : Ok();
    if (target == nullptr) e.map.SetLocal(*this, value);
    if (d) e.map.Changed(*this);
    return d;
}

Done ValueNode::SetReal(Eval e, double value) const {
    if (GetKind() != Kind::Float) return Node::SetReal(e, value);
    if (Done range = CheckRange(e, value); !range) return range;
    std::string reason;
    const Node* target = Target(e, reason);
    if (!reason.empty()) return Done::Fail(reason);
    Done d = target != nullptr ? target->SetReal(e.Deeper(), value) : Ok();
    if (target == nullptr) e.map.SetLocal(*this, value);
    if (d) e.map.Changed(*this);
    return d;
}

Done ValueNode::SetString(Eval e, const std::string& value) const {
    if (GetKind() == Kind::String) {
        std::string reason;
        const Node* target = Target(e, reason);
        if (!reason.empty()) return Done::Fail(reason);
        Done d = target != nullptr ? target->SetString(e.Deeper(), value) : Ok();
        if (target == nullptr) e.map.SetLocal(*this, value);
        if (d) e.map.Changed(*this);
        return d;
    }
    if (GetKind() == Kind::Float) {
        const auto v = ParseReal(value);
        if (!v) return Done::Fail("not a number: " + value);
        return SetReal(e, *v);
    }
    const auto v = ParseInt(value);
    if (!v) return Done::Fail("not a whole number: " + value);
    return SetInt(e, *v);
}

Got<IntLimits> ValueNode::Limits(Eval e) const {
    std::string reason;
    const Node* target = Target(e, reason);
    IntLimits l{std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(),
                1};
    if (target != nullptr) {
        const Got<IntLimits> inherited = target->Limits(e.Deeper());
        if (inherited) l = *inherited;
    }
    for (auto [literal, pointer, field] :
         {std::tuple{"Min", "pMin", &l.min}, {"Max", "pMax", &l.max}, {"Inc", "pInc", &l.inc}}) {
        if (!Has(literal) && !Has(pointer)) continue;
        const Got<std::int64_t> v = IntOf(e, literal, pointer);
        if (!v) return Fail<IntLimits>(v.reason);
        *field = *v;
    }
    return Got<IntLimits>{l, {}};
}

Got<RealLimits> ValueNode::RealRange(Eval e) const {
    if (GetKind() != Kind::Float) return Node::RealRange(e);
    std::string reason;
    const Node* target = Target(e, reason);
    RealLimits l{-std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
    if (target != nullptr) {
        const Got<RealLimits> inherited = target->RealRange(e.Deeper());
        if (inherited) l = *inherited;
    }
    for (auto [literal, pointer, field] :
         {std::tuple{"Min", "pMin", &l.min}, {"Max", "pMax", &l.max}}) {
        if (!Has(literal) && !Has(pointer)) continue;
        const Got<double> v = RealOf(e, literal, pointer);
        if (!v) return Fail<RealLimits>(v.reason);
        *field = *v;
    }
    return Got<RealLimits>{l, {}};
}

Got<RegisterPlace> ValueNode::Place(Eval e) const {
    std::string reason;
    if (const Node* target = Target(e, reason)) return target->Place(e.Deeper());
    return Fail<RegisterPlace>(reason.empty() ? "held in the description" : reason);
}

Done IntegerNode::SetInt(Eval e, std::int64_t value) const {
    const Got<IntLimits> l = Limits(e);
    if (l) {
        if (value < l.value->min || value > l.value->max) {
            return Done::Fail(std::to_string(value) + " is outside " +
                              std::to_string(l.value->min) + " to " + std::to_string(l.value->max));
        }
        const std::int64_t inc = l.value->inc;
        if (inc > 1 &&
            (static_cast<std::uint64_t>(value) - static_cast<std::uint64_t>(l.value->min)) %
                    static_cast<std::uint64_t>(inc) !=
                0) {
            return Done::Fail(std::to_string(value) + " is not " + std::to_string(l.value->min) +
                              " plus a multiple of " + std::to_string(inc));
        }
    }
    return ValueNode::SetInt(e, value);
}

Got<std::int64_t> BooleanNode::Int(Eval e) const {
    const Got<std::int64_t> v = ValueNode::Int(e);
    if (!v) return v;
    const std::int64_t on = ParseInt(Text("OnValue")).value_or(1);
    return Got<std::int64_t>{*v == on ? 1 : 0, {}};
}

Done BooleanNode::SetInt(Eval e, std::int64_t value) const {
    const std::int64_t on = ParseInt(Text("OnValue")).value_or(1);
    const std::int64_t off = ParseInt(Text("OffValue")).value_or(0);
    return ValueNode::SetInt(e, value != 0 ? on : off);
}

std::string EnumerationNode::Symbolic(const Node& enumeration, const EnumEntry& entry) {
    if (!entry.symbolic.empty()) return entry.symbolic;
    for (const std::string& prefix :
         {"EnumEntry_" + enumeration.Name() + "_", enumeration.Name() + "_"}) {
        if (entry.name.starts_with(prefix) && entry.name.size() > prefix.size()) {
            return entry.name.substr(prefix.size());
        }
    }
    return entry.name;
}

std::vector<const EnumEntry*> EnumerationNode::Entries(Eval e) const {
    std::vector<const EnumEntry*> out;
    for (const EnumEntry& entry : entries) {
        if (!entry.isImplemented.empty()) {
            const Got<std::int64_t> v = e.map.IntOfNode(e.Deeper(), entry.isImplemented);
            if (v && *v == 0) continue;
        }
        out.push_back(&entry);
    }
    return out;
}

Got<std::string> EnumerationNode::String(Eval e) const {
    const Got<std::int64_t> v = Int(e);
    if (!v) return Fail<std::string>(v.reason);
    for (const EnumEntry* entry : Entries(e)) {
        if (entry->value == *v) return Got<std::string>{Symbolic(*this, *entry), {}};
    }
    return Fail<std::string>(Name() + " holds " + std::to_string(*v) + ", which no entry has");
}

Done EnumerationNode::SetString(Eval e, const std::string& value) const {
    for (const EnumEntry* entry : Entries(e)) {
        if (Symbolic(*this, *entry) == value || entry->name == value) {
            return ValueNode::SetInt(e, entry->value);
        }
    }
    if (const auto v = ParseInt(value)) return SetInt(e, *v);
    return Done::Fail(Name() + " has no entry " + value);
}

Done EnumerationNode::SetInt(Eval e, std::int64_t value) const {
    for (const EnumEntry* entry : Entries(e)) {
        if (entry->value != value) continue;
        if (!entry->isAvailable.empty()) {
            const Got<std::int64_t> a = e.map.IntOfNode(e.Deeper(), entry->isAvailable);
            if (a && *a == 0) return Done::Fail(Symbolic(*this, *entry) + " is not available");
        }
        return ValueNode::SetInt(e, value);
    }
    return Done::Fail(Name() + " has no entry of value " + std::to_string(value));
}

Got<std::int64_t> CommandNode::CommandValue(Eval e) const {
    return IntOf(e, "CommandValue", "pCommandValue");
}

Done CommandNode::Execute(Eval e) const {
    const Got<std::int64_t> v = CommandValue(e);
    if (!v) return Done::Fail(v.reason);
    return ValueNode::SetInt(e, *v);
}

}  // namespace vk::genicam
