#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/genicam/formula.h"

namespace vk::genicam {

class NodeMap;

enum class Kind { Category, Integer, Float, Boolean, Enumeration, Command, String, Register, Port };
// Ordered: a weaker mode never grants what a stronger one denies.
enum class Access { NI, NA, WO, RO, RW };
enum class Visibility { Beginner, Expert, Guru, Invisible };

const char* KindName(Kind kind);
const char* AccessName(Access access);
const char* VisibilityName(Visibility visibility);
Access AccessFromText(std::string_view text);  // "RO", "WO", "RW"; RW when unknown

// A value or the reason there is none.
template <typename T>
struct Got {
    std::optional<T> value;
    std::string reason;

    static Got Fail(std::string why) { return Got{std::nullopt, std::move(why)}; }
    explicit operator bool() const { return value.has_value(); }
    const T& operator*() const { return *value; }
};
using Done = Got<bool>;
inline Done Ok() {
    return Done{true, {}};
}

// One child element of a node as the description gives it.
struct Prop {
    std::string element;
    std::string text;
    std::vector<std::pair<std::string, std::string>> attributes;

    std::string Attribute(std::string_view name) const;
};

struct EnumEntry {
    std::string name;
    std::string displayName;
    std::string toolTip;
    std::string symbolic;
    std::int64_t value = 0;
    std::string isImplemented;  // pIsImplemented, pIsAvailable: nodes or empty
    std::string isAvailable;
};

// Where a register lies, once its address nodes are evaluated.
struct RegisterPlace {
    std::uint64_t address = 0;
    std::uint32_t length = 0;
};

struct IntLimits {
    std::int64_t min = 0;
    std::int64_t max = 0;
    std::int64_t inc = 1;
};
struct RealLimits {
    double min = 0;
    double max = 0;
};

// One node of the description. The families below give values; the common parts (names,
// texts, availability and access rules) live here.
class Node {
public:
    struct Eval {
        NodeMap& map;
        int depth = 0;
        Eval Deeper() const { return Eval{map, depth + 1}; }
    };

    Node(std::string type, std::string name, std::vector<Prop> props);
    virtual ~Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    virtual Kind GetKind() const = 0;
    const std::string& Type() const { return type_; }
    const std::string& Name() const { return name_; }
    std::string DisplayName() const;  // DisplayName, else Name
    std::string Text(std::string_view element) const;
    const Prop* Find(std::string_view element) const;
    std::vector<const Prop*> All(std::string_view element) const;
    const std::vector<Prop>& Props() const { return props_; }
    Visibility GetVisibility() const;

    // The access the standard gives: the node's own access narrowed by ImposedAccessMode,
    // pIsImplemented, pIsAvailable and pIsLocked. `reason` says why it is narrowed.
    Access GetAccess(Eval e, std::string* reason = nullptr) const;

    virtual Got<std::int64_t> Int(Eval e) const;
    virtual Got<double> Real(Eval e) const;
    virtual Got<std::string> String(Eval e) const;
    virtual Done SetInt(Eval e, std::int64_t value) const;
    virtual Done SetReal(Eval e, double value) const;
    virtual Done SetString(Eval e, const std::string& value) const;
    virtual Got<IntLimits> Limits(Eval e) const;
    virtual Got<RealLimits> RealRange(Eval e) const;
    // The register the value lives in, when there is one register.
    virtual Got<RegisterPlace> Place(Eval e) const;
    virtual std::string Unit() const { return Text("Unit"); }
    virtual std::string Representation() const { return Text("Representation"); }

    // An integer, real or text from a literal element or the node a pointer element names.
    Got<std::int64_t> IntOf(Eval e, std::string_view literal, std::string_view pointer) const;
    Got<double> RealOf(Eval e, std::string_view literal, std::string_view pointer) const;
    bool Has(std::string_view element) const { return Find(element) != nullptr; }

    std::vector<EnumEntry> entries;  // an enumeration's

protected:
    virtual Access OwnAccess(Eval e) const;
    Done Unsupported(const char* what) const;

private:
    std::string type_;
    std::string name_;
    std::vector<Prop> props_;
};

// Whole numbers and C-style hexadecimal; nothing for other text.
std::optional<std::int64_t> ParseInt(std::string_view text);
std::optional<double> ParseReal(std::string_view text);
std::string RealText(double v);  // "%.10g"

}  // namespace vk::genicam
