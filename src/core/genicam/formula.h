#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk::genicam {

// A real number as the nearest whole number towards zero, saturated at the 64-bit limits
// (NaN gives 0): a description's value never converts out of range.
std::int64_t ToWhole(double v);

// A SwissKnife or Converter formula: the standard's operators (?: || && | ^ & = <> < > <= >=
// << >> + - * / % ** ~ ! and unary + -), its functions (SGN NEG ATAN COS SIN TAN ABS EXP LN LG
// SQRT TRUNC FLOOR CEIL ROUND ASIN ACOS), the constants PI and E, numbers (decimal, 0x
// hexadecimal, fractions and exponents) and variables. Parsed once, evaluated many times.
class Formula {
public:
    static constexpr std::size_t kMaxLength = 8192;
    static constexpr int kMaxNesting = 256;

    // A variable's value; nothing when the name is not known or cannot be read (`reason` then
    // says why, when there is something to say).
    using Lookup = std::function<std::optional<double>(std::string_view name, std::string& reason)>;
    using IntLookup =
        std::function<std::optional<std::int64_t>(std::string_view name, std::string& reason)>;

    struct Node;

    Formula();
    ~Formula();
    Formula(Formula&&) noexcept;
    Formula& operator=(Formula&&) noexcept;

    // Empty `error` when the text parsed.
    static Formula Parse(std::string_view text, std::string& error);

    // SwissKnife and Converter arithmetic: real numbers; bit operators on whole parts.
    std::optional<double> Evaluate(const Lookup& lookup, std::string& reason) const;
    // IntSwissKnife and IntConverter arithmetic: 64-bit integers, wrapping; a division by zero
    // is a failure, not a fault.
    std::optional<std::int64_t> EvaluateInt(const IntLookup& lookup, std::string& reason) const;

    // The variable names the formula uses, each once.
    const std::vector<std::string>& Variables() const { return variables_; }
    bool Empty() const { return root_ == nullptr; }

private:
    std::unique_ptr<Node> root_;
    std::vector<std::string> variables_;
};

}  // namespace vk::genicam
