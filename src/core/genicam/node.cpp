#include "core/genicam/node.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <tuple>

#include "core/genicam/formula.h"
#include "core/genicam/node_map.h"

namespace vk::genicam {

const char* KindName(Kind kind) {
    switch (kind) {
        case Kind::Category:
            return "Category";
        case Kind::Integer:
            return "Integer";
        case Kind::Float:
            return "Float";
        case Kind::Boolean:
            return "Boolean";
        case Kind::Enumeration:
            return "Enumeration";
        case Kind::Command:
            return "Command";
        case Kind::String:
            return "String";
        case Kind::Register:
            return "Register";
        case Kind::Port:
            return "Port";
    }
    return "?";
}

const char* AccessName(Access access) {
    constexpr const char* kNames[] = {"NI", "NA", "WO", "RO", "RW"};
    return kNames[static_cast<int>(access)];
}

const char* VisibilityName(Visibility visibility) {
    constexpr const char* kNames[] = {"Beginner", "Expert", "Guru", "Invisible"};
    return kNames[static_cast<int>(visibility)];
}

Access AccessFromText(std::string_view text) {
    if (text == "RO") return Access::RO;
    if (text == "WO") return Access::WO;
    if (text == "NA") return Access::NA;
    if (text == "NI") return Access::NI;
    return Access::RW;
}

std::optional<std::int64_t> ParseInt(std::string_view text) {
    const std::string s(text);
    if (s.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const bool negative = s[0] == '-';
    const unsigned long long v =
        negative ? static_cast<unsigned long long>(std::strtoll(s.c_str(), &end, 0))
                 : std::strtoull(s.c_str(), &end, 0);
    if (end == s.c_str() || *end != '\0' || errno != 0) return std::nullopt;
    return static_cast<std::int64_t>(v);
}

std::optional<double> ParseReal(std::string_view text) {
    const std::string s(text);
    if (s.empty()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end == s.c_str() || *end != '\0') return std::nullopt;
    return v;
}

std::string Prop::Attribute(std::string_view name) const {
    for (const auto& [key, value] : attributes) {
        if (key == name) return value;
    }
    return {};
}

Node::Node(std::string type, std::string name, std::vector<Prop> props)
    : type_(std::move(type)), name_(std::move(name)), props_(std::move(props)) {}

const Prop* Node::Find(std::string_view element) const {
    for (const Prop& p : props_) {
        if (p.element == element) return &p;
    }
    return nullptr;
}

std::vector<const Prop*> Node::All(std::string_view element) const {
    std::vector<const Prop*> out;
    for (const Prop& p : props_) {
        if (p.element == element) out.push_back(&p);
    }
    return out;
}

std::string Node::Text(std::string_view element) const {
    const Prop* p = Find(element);
    return p != nullptr ? p->text : std::string();
}

std::string Node::DisplayName() const {
    std::string shown = Text("DisplayName");
    return shown.empty() ? name_ : shown;
}

Visibility Node::GetVisibility() const {
    const std::string v = Text("Visibility");
    if (v == "Expert") return Visibility::Expert;
    if (v == "Guru") return Visibility::Guru;
    if (v == "Invisible") return Visibility::Invisible;
    return Visibility::Beginner;
}

Access Node::OwnAccess(Eval) const {
    return Access::RO;
}

Access Node::GetAccess(Eval e, std::string* reason) const {
    auto why = [&](std::string text) {
        if (reason != nullptr) *reason = std::move(text);
    };
    if (e.depth > NodeMap::kMaxDepth) {
        why("references nested too deep");
        return Access::NA;
    }
    for (auto [pointer, wanted, result] :
         {std::tuple{"pIsImplemented", true, Access::NI}, {"pIsAvailable", true, Access::NA}}) {
        const Prop* p = Find(pointer);
        if (p == nullptr) continue;
        const Got<std::int64_t> v = e.map.IntOfNode(e.Deeper(), p->text);
        if (!v && !e.map.HasPort()) {
            why("depends on the camera (" + p->text + ")");  // a file read without one
            continue;
        }
        if (!v) {
            why(std::string(pointer) + " could not be read: " + v.reason);
            return result;
        }
        if ((*v != 0) != wanted) {
            why(std::string(result == Access::NI ? "not implemented" : "not available") + " (" +
                p->text + " is 0)");
            return result;
        }
    }
    Access access = OwnAccess(e.Deeper());
    if (access <= Access::NA) return access;
    if (const Prop* imposed = Find("ImposedAccessMode")) {
        const Access limit = AccessFromText(imposed->text);
        if (limit == Access::WO && access == Access::RO) return Access::NA;
        if (limit == Access::RO && access == Access::WO) return Access::NA;
        if (limit < access) access = limit;
    }
    if (const Prop* locked = Find("pIsLocked"); locked != nullptr && access == Access::RW) {
        const Got<std::int64_t> v = e.map.IntOfNode(e.Deeper(), locked->text);
        if (!v && !e.map.HasPort()) {
            why("depends on the camera (" + locked->text + ")");
        } else if (!v || *v != 0) {
            why("locked (" + locked->text + (v ? " is set)" : " could not be read)"));
            access = Access::RO;
        }
    }
    return access;
}

Done Node::Unsupported(const char* what) const {
    return Done::Fail(name_ + " (" + type_ + ") has no " + what);
}

Got<std::int64_t> Node::Int(Eval) const {
    return Got<std::int64_t>::Fail(name_ + " (" + type_ + ") has no whole-number value");
}

Got<double> Node::Real(Eval e) const {
    const Got<std::int64_t> v = Int(e);
    if (!v) return Got<double>::Fail(v.reason);
    return Got<double>{static_cast<double>(*v), {}};
}

std::string RealText(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

Got<std::string> Node::String(Eval e) const {
    const Kind kind = GetKind();
    if (kind == Kind::Float) {
        const Got<double> v = Real(e);
        return v ? Got<std::string>{RealText(*v), {}} : Got<std::string>::Fail(v.reason);
    }
    if (kind == Kind::Integer || kind == Kind::Boolean) {
        const Got<std::int64_t> v = Int(e);
        if (!v) return Got<std::string>::Fail(v.reason);
        if (kind == Kind::Boolean) return Got<std::string>{*v != 0 ? "true" : "false", {}};
        return Got<std::string>{std::to_string(*v), {}};
    }
    return Got<std::string>::Fail(name_ + " (" + type_ + ") has no text value");
}

Done Node::SetInt(Eval, std::int64_t) const {
    return Unsupported("whole-number value to set");
}

Done Node::SetReal(Eval e, double value) const {
    return SetInt(e, static_cast<std::int64_t>(value < 0 ? value - 0.5 : value + 0.5));
}

Done Node::SetString(Eval, const std::string&) const {
    return Unsupported("text value to set");
}

Got<IntLimits> Node::Limits(Eval) const {
    return Got<IntLimits>{IntLimits{INT64_MIN, INT64_MAX, 1}, {}};
}

Got<RealLimits> Node::RealRange(Eval e) const {
    const Got<IntLimits> l = Limits(e);
    if (!l) return Got<RealLimits>::Fail(l.reason);
    return Got<RealLimits>{
        RealLimits{static_cast<double>(l.value->min), static_cast<double>(l.value->max)}, {}};
}

Got<RegisterPlace> Node::Place(Eval) const {
    return Got<RegisterPlace>::Fail("no register");
}

Got<std::int64_t> Node::IntOf(Eval e, std::string_view literal, std::string_view pointer) const {
    if (const Prop* p = Find(pointer)) return e.map.IntOfNode(e.Deeper(), p->text);
    if (const Prop* p = Find(literal)) {
        if (const auto v = ParseInt(p->text)) return Got<std::int64_t>{*v, {}};
        if (const auto r = ParseReal(p->text)) {
            return Got<std::int64_t>{ToWhole(*r), {}};
        }
        return Got<std::int64_t>::Fail(name_ + ": " + std::string(literal) + " \"" + p->text +
                                       "\" is no number");
    }
    return Got<std::int64_t>::Fail(name_ + " has no " + std::string(literal));
}

Got<double> Node::RealOf(Eval e, std::string_view literal, std::string_view pointer) const {
    if (const Prop* p = Find(pointer)) return e.map.RealOfNode(e.Deeper(), p->text);
    if (const Prop* p = Find(literal)) {
        if (const auto v = ParseReal(p->text)) return Got<double>{*v, {}};
        if (const auto v = ParseInt(p->text)) return Got<double>{static_cast<double>(*v), {}};
        return Got<double>::Fail(name_ + ": " + std::string(literal) + " \"" + p->text +
                                 "\" is no number");
    }
    return Got<double>::Fail(name_ + " has no " + std::string(literal));
}

}  // namespace vk::genicam
