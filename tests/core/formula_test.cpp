// The SwissKnife formula language: one table of expressions, both arithmetics.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "core/genicam/formula.h"

namespace vk::genicam {
namespace {

const std::map<std::string, double, std::less<>> kVariables = {
    {"A", 6}, {"B", -4}, {"X.Min", 2}, {"BIG", 9.0e18}};

// The formula read in either arithmetic, its variables from kVariables.
template <class T>
std::optional<T> Evaluate(std::string_view text, std::string& error) {
    const Formula f = Formula::Parse(text, error);
    if (!error.empty()) return std::nullopt;
    const auto lookup = [](std::string_view name, std::string& why) -> std::optional<T> {
        const auto it = kVariables.find(name);
        if (it == kVariables.end()) {
            why = "unknown " + std::string(name);
            return std::nullopt;
        }
        return static_cast<T>(it->second);
    };
    if constexpr (std::is_same_v<T, double>) {
        return f.Evaluate(lookup, error);
    } else {
        return f.EvaluateInt(lookup, error);
    }
}
constexpr auto Real = Evaluate<double>;
constexpr auto Int = Evaluate<std::int64_t>;

TEST(Formula, EvaluatesTheStandardsOperatorsAndFunctions) {
    struct Case {
        const char* text;
        double real;         // as a SwissKnife reads it
        std::int64_t whole;  // as an IntSwissKnife reads it
    };
    const Case cases[] = {
        {"1 + 2 * 3", 7, 7},
        {"(1 + 2) * 3", 9, 9},
        {"7 / 2", 3.5, 3},
        {"-7 / 2", -3.5, -3},
        {"7 % 3", 1, 1},
        {"2 ** 3 ** 2", 512, 512},  // powers group to the right
        {"-2 ** 2", 4, 4},          // unary minus binds tighter
        {"0x10 | 0x01", 17, 17},
        {"0xF0 & 0x3C", 0x30, 0x30},
        {"0xFF ^ 0x0F", 0xF0, 0xF0},
        {"~0", -1, -1},
        {"1 << 40", 1099511627776.0, 1099511627776},
        {"-16 >> 2", -4, -4},
        {"1 << 64", 0, 0},  // shifted out, not undefined
        {"A = 6", 1, 1},
        {"A <> 6", 0, 0},
        {"A < B", 0, 0},
        {"A >= 6 && B <= -4", 1, 1},
        {"A > 10 || !0", 1, 1},
        {"A > 10 ? 1 : B < 0 ? 2 : 3", 2, 2},
        {"1 + 2 = 3", 1, 1},  // comparison below arithmetic
        {"3 & 1 = 1", 1, 1},  // equality above the bit operators
        {"ABS(B) + SGN(B) + NEG(A)", -3, -3},
        {"SQRT(16) + FLOOR(2.7) + CEIL(2.2) + TRUNC(-2.7)", 7, 6},  // whole literals: 2.7 is 2
        {"ROUND(2.5) + ROUND(1.234, 2)", 4.23, 3},
        {"EXP(0) + LN(E) + LG(100)", 4, 3},
        {"SIN(0) + COS(0) + TAN(0) + ATAN(0) + ASIN(0) + ACOS(1)", 1, 1},
        {"PI", 3.14159265358979, 3},
        {"1.5e2 + .5", 150.5, 150},
        {"X.Min * A", 12, 12},
        {"  A\n*\tB ", -24, -24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        const auto real = Real(c.text, error);
        ASSERT_TRUE(real) << error;
        EXPECT_NEAR(*real, c.real, 1e-9 * std::max(1.0, std::fabs(c.real)));
        const auto whole = Int(c.text, error);
        ASSERT_TRUE(whole) << error;
        EXPECT_EQ(*whole, c.whole);
    }
}

TEST(Formula, WholeArithmeticWrapsAndRefusesDivisionByZero) {
    std::string error;
    EXPECT_EQ(Int("9223372036854775807 + 1", error), INT64_MIN);
    EXPECT_EQ(Int("(0 - 9223372036854775807 - 1) / -1", error), INT64_MIN);
    EXPECT_EQ(Int("BIG * 2", error), static_cast<std::int64_t>(18000000000000000000ull));
    EXPECT_FALSE(Int("A / (B + 4)", error));
    EXPECT_EQ(error, "a division by zero");
    EXPECT_FALSE(Int("A % 0", error));
    EXPECT_TRUE(std::isinf(*Real("A / 0", error)));  // reals follow IEEE
}

TEST(Formula, BadTextIsAReasonNeverAFault) {
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"", "the formula ends too early"},
        {"1 +", "the formula ends too early"},
        {"(1 + 2", "\"(\" without \")\""},
        {"1 ? 2", "\"?\" without \":\""},
        {"1 $ 2", "unexpected \"$ 2\""},
        {"FOO(1)", "unknown function FOO"},
        {"SQRT(1, 2)", "SQRT takes 1 argument"},
        {std::string(300, '(') + "1" + std::string(300, ')'), "the formula nests deeper than 256"},
        {std::string(300, '-') + "1", "the formula nests deeper than 256"},
        {std::string(9000, '1'), "the formula is longer than 8192 characters"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        std::string error;
        const Formula f = Formula::Parse(c.text, error);
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(f.Empty());
    }
    std::string error;
    EXPECT_FALSE(Real("A + C", error));
    EXPECT_EQ(error, "unknown C");
    const Formula f = Formula::Parse("A + B * A", error);
    EXPECT_EQ(f.Variables(), (std::vector<std::string>{"A", "B"}));
}

}  // namespace
}  // namespace vk::genicam
