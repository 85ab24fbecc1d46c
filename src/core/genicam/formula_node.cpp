#include <cmath>
#include <limits>

#include "core/genicam/node_kinds.h"
#include "core/genicam/node_map.h"

namespace vk::genicam {
namespace {

template <typename T>
Got<T> Fail(std::string why) {
    return Got<T>::Fail(std::move(why));
}

// FormulaFrom reads the pValue's value as TO; FormulaTo the value to write as FROM.
constexpr const char* kFromInput = "TO";
constexpr const char* kToInput = "FROM";

std::int64_t Whole(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
    if (v <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(std::llround(v));
}

}  // namespace

FormulaNode::FormulaNode(std::string type, std::string name, std::vector<Prop> props)
    : Node(std::move(type), std::move(name), std::move(props)) {
    std::string error;
    main_ = Formula::Parse(Text(Converter() ? "FormulaFrom" : "Formula"), error);
    if (!error.empty()) error_ = Name() + ": " + error;
    if (Converter()) {
        to_ = Formula::Parse(Text("FormulaTo"), error);
        if (!error.empty() && error_.empty()) error_ = Name() + ": " + error;
    }
}

Kind FormulaNode::GetKind() const {
    return Integral() ? Kind::Integer : Kind::Float;
}

Access FormulaNode::OwnAccess(Eval e) const {
    if (!error_.empty()) return Access::NA;
    if (!Converter()) return Access::RO;
    const Got<const Node*> target = e.map.Resolve(e.Deeper(), Text("pValue"));
    return target ? (*target)->GetAccess(e.Deeper()) : Access::NA;
}

// A variable of the formula: FROM or TO, a pVariable (with .Min, .Max or .Inc), a Constant
// or an Expression of the node.
Got<double> FormulaNode::Variable(Eval e, std::string_view name, double from,
                                  const char* input) const {
    if (input != nullptr && name == input) return Got<double>{from, {}};
    std::string_view base = name;
    std::string_view suffix;
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos) {
        base = name.substr(0, dot);
        suffix = name.substr(dot + 1);
    }
    for (const Prop& p : Props()) {
        const std::string key = p.Attribute("Name");
        if (key == name && p.element == "Constant") {
            if (const auto v = ParseReal(p.text)) return Got<double>{*v, {}};
            if (const auto v = ParseInt(p.text)) return Got<double>{static_cast<double>(*v), {}};
            return Fail<double>(Name() + ": constant " + key + " is no number");
        }
        if (key == name && p.element == "Expression") {
            if (e.depth > NodeMap::kMaxDepth) return Fail<double>("expressions nested too deep");
            std::string error;
            const Formula f = Formula::Parse(p.text, error);
            if (!error.empty()) return Fail<double>(Name() + ": " + key + ": " + error);
            return Apply(e.Deeper(), f, from, input);
        }
        if (p.element != "pVariable") continue;
        const bool whole = key == name;
        if (!whole && !(key == base && !suffix.empty())) continue;
        const Got<const Node*> node = e.map.Resolve(e.Deeper(), p.text);
        if (!node) return Fail<double>(node.reason);
        if (whole || suffix == "Value") return (*node)->Real(e.Deeper());
        if ((*node)->GetKind() == Kind::Float) {
            const Got<RealLimits> l = (*node)->RealRange(e.Deeper());
            if (!l) return Fail<double>(l.reason);
            if (suffix == "Min") return Got<double>{l.value->min, {}};
            if (suffix == "Max") return Got<double>{l.value->max, {}};
        }
        const Got<IntLimits> l = (*node)->Limits(e.Deeper());
        if (!l) return Fail<double>(l.reason);
        if (suffix == "Min") return Got<double>{static_cast<double>(l.value->min), {}};
        if (suffix == "Max") return Got<double>{static_cast<double>(l.value->max), {}};
        if (suffix == "Inc") return Got<double>{static_cast<double>(l.value->inc), {}};
    }
    return Fail<double>(Name() + ": the formula names " + std::string(name) +
                        ", which is no variable of it");
}

Got<double> FormulaNode::Apply(Eval e, const Formula& f, double from, const char* input) const {
    std::string reason;
    if (Integral()) {
        const auto v = f.EvaluateInt(
            [&](std::string_view name, std::string& why) -> std::optional<std::int64_t> {
                // Whole variables keep all 64 bits: read them as integers.
                if (input == nullptr || name != input) {
                    for (const Prop* p : All("pVariable")) {
                        if (p->Attribute("Name") != name) continue;
                        const Got<std::int64_t> i = e.map.IntOfNode(e.Deeper(), p->text);
                        if (!i) why = i.reason;
                        return i.value;
                    }
                }
                const Got<double> r = Variable(e, name, from, input);
                if (!r) why = r.reason;
                return r ? std::optional<std::int64_t>(Whole(*r)) : std::nullopt;
            },
            reason);
        if (!v) return Fail<double>(reason);
        return Got<double>{static_cast<double>(*v), {}};
    }
    const auto v = f.Evaluate(
        [&](std::string_view name, std::string& why) -> std::optional<double> {
            const Got<double> r = Variable(e, name, from, input);
            if (!r) why = r.reason;
            return r.value;
        },
        reason);
    if (!v) return Fail<double>(reason);
    return Got<double>{*v, {}};
}

Got<double> FormulaNode::Real(Eval e) const {
    if (!error_.empty()) return Fail<double>(error_);
    if (!Converter()) return Apply(e, main_, 0, nullptr);
    const Got<double> from = e.map.RealOfNode(e.Deeper(), Text("pValue"));
    if (!from) return from;
    return Apply(e, main_, *from, kFromInput);
}

Got<std::int64_t> FormulaNode::Int(Eval e) const {
    if (Integral() && !Converter() && error_.empty()) {
        // Exact 64-bit arithmetic, not through a double.
        std::string reason;
        const auto v = main_.EvaluateInt(
            [&](std::string_view name, std::string& why) -> std::optional<std::int64_t> {
                for (const Prop* p : All("pVariable")) {
                    if (p->Attribute("Name") != name) continue;
                    const Got<std::int64_t> i = e.map.IntOfNode(e.Deeper(), p->text);
                    if (!i) why = i.reason;
                    return i.value;
                }
                const Got<double> r = Variable(e, name, 0, nullptr);
                if (!r) why = r.reason;
                return r ? std::optional<std::int64_t>(Whole(*r)) : std::nullopt;
            },
            reason);
        if (!v) return Fail<std::int64_t>(reason);
        return Got<std::int64_t>{*v, {}};
    }
    const Got<double> r = Real(e);
    if (!r) return Fail<std::int64_t>(r.reason);
    return Got<std::int64_t>{Whole(*r), {}};
}

Done FormulaNode::SetReal(Eval e, double value) const {
    if (!Converter()) return Unsupported("value to set (a formula is read only)");
    if (!error_.empty()) return Done::Fail(error_);
    const Got<double> to = Apply(e, to_, value, kToInput);
    if (!to) return Done::Fail(to.reason);
    const Got<const Node*> target = e.map.Resolve(e.Deeper(), Text("pValue"));
    if (!target) return Done::Fail(target.reason);
    Done d = (*target)->GetKind() == Kind::Float ? (*target)->SetReal(e.Deeper(), *to)
                                                 : (*target)->SetInt(e.Deeper(), Whole(*to));
    if (d) e.map.Changed(*this);
    return d;
}

Done FormulaNode::SetInt(Eval e, std::int64_t value) const {
    return SetReal(e, static_cast<double>(value));
}

Got<RealLimits> FormulaNode::RealRange(Eval e) const {
    if (!Converter()) {
        return Got<RealLimits>{
            RealLimits{-std::numeric_limits<double>::max(), std::numeric_limits<double>::max()},
            {}};
    }
    const Got<const Node*> target = e.map.Resolve(e.Deeper(), Text("pValue"));
    if (!target) return Fail<RealLimits>(target.reason);
    const Got<RealLimits> inner = (*target)->RealRange(e.Deeper());
    if (!inner) return Fail<RealLimits>(inner.reason);
    const Got<double> a = Apply(e, main_, inner.value->min, kFromInput);
    const Got<double> b = Apply(e, main_, inner.value->max, kFromInput);
    if (!a || !b) return Fail<RealLimits>(a ? b.reason : a.reason);
    return Got<RealLimits>{RealLimits{std::min(*a, *b), std::max(*a, *b)}, {}};
}

Got<IntLimits> FormulaNode::Limits(Eval e) const {
    if (!Converter()) return Node::Limits(e);
    const Got<RealLimits> r = RealRange(e);
    if (!r) return Fail<IntLimits>(r.reason);
    return Got<IntLimits>{IntLimits{Whole(r.value->min), Whole(r.value->max), 1}, {}};
}

Got<RegisterPlace> FormulaNode::Place(Eval e) const {
    if (!Converter()) return Node::Place(e);
    const Got<const Node*> target = e.map.Resolve(e.Deeper(), Text("pValue"));
    if (!target) return Fail<RegisterPlace>(target.reason);
    return (*target)->Place(e.Deeper());
}

std::unique_ptr<Node> MakeNode(const std::string& type, std::string name, std::vector<Prop> props) {
    auto make = [&]<typename T>() -> std::unique_ptr<Node> {
        return std::make_unique<T>(type, std::move(name), std::move(props));
    };
    if (type == "Category") return make.operator()<CategoryNode>();
    if (type == "Port") return make.operator()<PortNode>();
    if (type == "Integer") return make.operator()<IntegerNode>();
    if (type == "Float") return make.operator()<FloatNode>();
    if (type == "Boolean") return make.operator()<BooleanNode>();
    if (type == "Enumeration") return make.operator()<EnumerationNode>();
    if (type == "Command") return make.operator()<CommandNode>();
    if (type == "String") return make.operator()<StringNode>();
    if (type == "IntReg" || type == "MaskedIntReg" || type == "FloatReg" || type == "StringReg" ||
        type == "Register" || type == "StructEntry") {
        return make.operator()<RegisterNode>();
    }
    if (type == "SwissKnife" || type == "IntSwissKnife" || type == "Converter" ||
        type == "IntConverter") {
        return make.operator()<FormulaNode>();
    }
    return nullptr;
}

}  // namespace vk::genicam
