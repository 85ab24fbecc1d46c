#include "core/genicam/formula.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vk::genicam {

enum class Op {
    Number,
    Variable,
    Function,
    Neg,
    Plus,
    Not,
    BitNot,
    Add,
    Sub,
    Mul,
    Div,
    Mod,
    Pow,
    Shl,
    Shr,
    Lt,
    Gt,
    Le,
    Ge,
    Eq,
    Ne,
    BitAnd,
    BitXor,
    BitOr,
    And,
    Or,
    Choose,
};

struct Formula::Node {
    Op op = Op::Number;
    double number = 0;
    std::int64_t whole = 0;  // the number as written, when it is whole
    std::string name;        // variable or function
    std::vector<std::unique_ptr<Node>> args;
};

std::int64_t ToWhole(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 9.2233720368547758e18) return std::numeric_limits<std::int64_t>::max();
    if (v <= -9.2233720368547758e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(v);
}

namespace {

using NodePtr = std::unique_ptr<Formula::Node>;

struct Binary {
    std::string_view text;
    Op op;
    int level;  // higher binds tighter
};

// Longer spellings first, so that "<=" is not read as "<".
constexpr std::array kBinaries = {
    Binary{"||", Op::Or, 1},    Binary{"&&", Op::And, 2},   Binary{"<>", Op::Ne, 6},
    Binary{"<=", Op::Le, 7},    Binary{">=", Op::Ge, 7},    Binary{"<<", Op::Shl, 8},
    Binary{">>", Op::Shr, 8},   Binary{"**", Op::Pow, 11},  Binary{"|", Op::BitOr, 3},
    Binary{"^", Op::BitXor, 4}, Binary{"&", Op::BitAnd, 5}, Binary{"=", Op::Eq, 6},
    Binary{"<", Op::Lt, 7},     Binary{">", Op::Gt, 7},     Binary{"+", Op::Add, 9},
    Binary{"-", Op::Sub, 9},    Binary{"*", Op::Mul, 10},   Binary{"/", Op::Div, 10},
    Binary{"%", Op::Mod, 10},
};

struct Function {
    std::string_view name;
    int args;
};

constexpr std::array kFunctions = {
    Function{"SGN", 1},   Function{"NEG", 1},  Function{"ATAN", 1},  Function{"COS", 1},
    Function{"SIN", 1},   Function{"TAN", 1},  Function{"ABS", 1},   Function{"EXP", 1},
    Function{"LN", 1},    Function{"LG", 1},   Function{"SQRT", 1},  Function{"TRUNC", 1},
    Function{"FLOOR", 1}, Function{"CEIL", 1}, Function{"ROUND", 1}, Function{"ASIN", 1},
    Function{"ACOS", 1},
};

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.';
}

class Parser {
public:
    Parser(std::string_view text, std::vector<std::string>& variables)
        : text_(text), variables_(variables) {}

    NodePtr Run(std::string& error) {
        NodePtr root = Choice(0);
        Skip();
        if (error_.empty() && at_ != text_.size()) Fail("unexpected \"" + Rest() + "\"");
        error = error_;
        return error_.empty() ? std::move(root) : nullptr;
    }

private:
    NodePtr Choice(int depth) {
        if (!Enter(depth)) return nullptr;
        NodePtr condition = BinaryAt(1, depth);
        Skip();
        if (!error_.empty() || !Eat("?")) return condition;
        NodePtr yes = Choice(depth + 1);
        Skip();
        if (!Eat(":")) {
            Fail("\"?\" without \":\"");
            return nullptr;
        }
        NodePtr no = Choice(depth + 1);
        auto node = std::make_unique<Formula::Node>();
        node->op = Op::Choose;
        node->args.push_back(std::move(condition));
        node->args.push_back(std::move(yes));
        node->args.push_back(std::move(no));
        return node;
    }

    NodePtr BinaryAt(int level, int depth) {
        if (level > 11) return Unary(depth);
        NodePtr left = BinaryAt(level + 1, depth);
        while (error_.empty()) {
            Skip();
            const Binary* found = nullptr;
            for (const Binary& b : kBinaries) {
                if (text_.substr(at_).starts_with(b.text)) {
                    found = &b;
                    break;
                }
            }
            if (found == nullptr || found->level != level) break;
            at_ += found->text.size();
            // Powers group to the right: 2**3**2 is 2**9.
            NodePtr right = level == 11 ? BinaryAt(level, depth + 1) : BinaryAt(level + 1, depth);
            auto node = std::make_unique<Formula::Node>();
            node->op = found->op;
            node->args.push_back(std::move(left));
            node->args.push_back(std::move(right));
            left = std::move(node);
            if (!Enter(++depth)) break;  // a long chain nests as deep as it is long
        }
        return left;
    }

    NodePtr Unary(int depth) {
        if (!Enter(depth)) return nullptr;
        Skip();
        for (auto [text, op] :
             {std::pair{"-", Op::Neg}, {"+", Op::Plus}, {"!", Op::Not}, {"~", Op::BitNot}}) {
            if (Eat(text)) {
                auto node = std::make_unique<Formula::Node>();
                node->op = op;
                node->args.push_back(Unary(depth + 1));
                return node;
            }
        }
        return Primary(depth);
    }

    NodePtr Primary(int depth) {
        Skip();
        if (at_ >= text_.size()) {
            Fail("the formula ends too early");
            return nullptr;
        }
        if (Eat("(")) {
            NodePtr inner = Choice(depth + 1);
            Skip();
            if (!Eat(")")) Fail("\"(\" without \")\"");
            return inner;
        }
        const char c = text_[at_];
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') return Number();
        if (IsNameChar(c)) return Name(depth);
        Fail("unexpected \"" + Rest() + "\"");
        return nullptr;
    }

    NodePtr Number() {
        auto node = std::make_unique<Formula::Node>();
        const std::string rest(text_.substr(at_));
        char* end = nullptr;
        if (rest.size() > 1 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
            const unsigned long long v = std::strtoull(rest.c_str(), &end, 16);
            node->whole = static_cast<std::int64_t>(v);
            node->number = static_cast<double>(v);
        } else {
            const unsigned long long v = std::strtoull(rest.c_str(), &end, 10);
            const char* realEnd = nullptr;
            char* e = nullptr;
            node->number = std::strtod(rest.c_str(), &e);
            realEnd = e;
            node->whole = static_cast<std::int64_t>(v);
            if (realEnd > end) {
                end = const_cast<char*>(realEnd);
                node->whole = ToWhole(node->number);  // saturates: 1e99 is no fault
            }
        }
        if (end == rest.c_str()) {
            Fail("bad number \"" + Rest() + "\"");
            return nullptr;
        }
        at_ += static_cast<std::size_t>(end - rest.c_str());
        return node;
    }

    NodePtr Name(int depth) {
        const std::size_t start = at_;
        while (at_ < text_.size() && IsNameChar(text_[at_]))
            ++at_;
        std::string name(text_.substr(start, at_ - start));
        auto node = std::make_unique<Formula::Node>();
        Skip();
        if (at_ < text_.size() && text_[at_] == '(') {
            const auto f = std::find_if(kFunctions.begin(), kFunctions.end(),
                                        [&](const Function& fn) { return fn.name == name; });
            if (f == kFunctions.end()) {
                Fail("unknown function " + name);
                return nullptr;
            }
            ++at_;
            node->op = Op::Function;
            node->name = std::move(name);
            do {
                node->args.push_back(Choice(depth + 1));
                Skip();
            } while (error_.empty() && Eat(","));
            if (!Eat(")")) Fail("\"(\" without \")\"");
            const auto count = static_cast<int>(node->args.size());
            if (error_.empty() && count != f->args && !(f->name == "ROUND" && count == 2)) {
                Fail(node->name + " takes " + std::to_string(f->args) + " argument");
            }
            return node;
        }
        if (name == "PI" || name == "E") {
            node->number = name == "PI" ? 3.14159265358979323846 : 2.71828182845904523536;
            node->whole = ToWhole(node->number);
            return node;
        }
        node->op = Op::Variable;
        if (std::find(variables_.begin(), variables_.end(), name) == variables_.end()) {
            variables_.push_back(name);
        }
        node->name = std::move(name);
        return node;
    }

    bool Enter(int depth) {
        if (depth <= Formula::kMaxNesting && ++steps_ < 4 * static_cast<int>(Formula::kMaxLength))
            return true;
        Fail("the formula nests deeper than " + std::to_string(Formula::kMaxNesting));
        return false;
    }

    void Skip() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])))
            ++at_;
    }

    bool Eat(std::string_view what) {
        if (!text_.substr(at_).starts_with(what)) return false;
        at_ += what.size();
        return true;
    }

    std::string Rest() const { return std::string(text_.substr(at_, 16)); }

    void Fail(std::string why) {
        if (error_.empty()) error_ = std::move(why);
    }

    std::string_view text_;
    std::vector<std::string>& variables_;
    std::size_t at_ = 0;
    int steps_ = 0;
    std::string error_;
};

std::int64_t Wrap(std::uint64_t v) {
    return static_cast<std::int64_t>(v);
}

double RealFunction(const std::string& name, double x, double digits) {
    if (name == "SGN") return x > 0 ? 1 : x < 0 ? -1 : 0;
    if (name == "NEG") return -x;
    if (name == "ATAN") return std::atan(x);
    if (name == "COS") return std::cos(x);
    if (name == "SIN") return std::sin(x);
    if (name == "TAN") return std::tan(x);
    if (name == "ABS") return std::fabs(x);
    if (name == "EXP") return std::exp(x);
    if (name == "LN") return std::log(x);
    if (name == "LG") return std::log10(x);
    if (name == "SQRT") return std::sqrt(x);
    if (name == "TRUNC") return std::trunc(x);
    if (name == "FLOOR") return std::floor(x);
    if (name == "CEIL") return std::ceil(x);
    if (name == "ASIN") return std::asin(x);
    if (name == "ACOS") return std::acos(x);
    // ROUND(x) to a whole number, ROUND(x, n) to n decimals.
    const double scale = std::pow(10.0, std::clamp(digits, 0.0, 15.0));
    return std::round(x * scale) / scale;
}

// One evaluator for both arithmetics; T is double or std::int64_t.
template <typename T, typename L>
std::optional<T> Eval(const Formula::Node& n, const L& lookup, std::string& reason) {
    constexpr bool kReal = std::is_same_v<T, double>;
    auto arg = [&](std::size_t i) { return Eval<T>(*n.args[i], lookup, reason); };
    switch (n.op) {
        case Op::Number:
            if constexpr (kReal) {
                return n.number;
            } else {
                return n.whole;
            }
        case Op::Variable:
            return lookup(n.name, reason);
        case Op::Choose: {
            const auto c = arg(0);
            if (!c) return std::nullopt;
            return *c != 0 ? arg(1) : arg(2);
        }
        case Op::And:
        case Op::Or: {
            const auto a = arg(0);
            if (!a) return std::nullopt;
            if (n.op == Op::And && *a == 0) return T{0};
            if (n.op == Op::Or && *a != 0) return T{1};
            const auto b = arg(1);
            if (!b) return std::nullopt;
            return static_cast<T>(*b != 0 ? 1 : 0);
        }
        default:
            break;
    }
    std::array<T, 2> v{};
    for (std::size_t i = 0; i < std::min<std::size_t>(n.args.size(), 2); ++i) {
        const auto a = arg(i);
        if (!a) return std::nullopt;
        v[i] = *a;
    }
    const T a = v[0], b = v[1];
    const auto ia = [&] {
        if constexpr (kReal) {
            return ToWhole(a);
        } else {
            return a;
        }
    };
    const auto ib = [&] {
        if constexpr (kReal) {
            return ToWhole(b);
        } else {
            return b;
        }
    };
    const auto ua = static_cast<std::uint64_t>(ia());
    const auto ub = static_cast<std::uint64_t>(ib());
    switch (n.op) {
        case Op::Neg:
            if constexpr (kReal) {
                return -a;
            } else {
                return Wrap(0 - ua);
            }
        case Op::Plus:
            return a;
        case Op::Not:
            return static_cast<T>(a == 0 ? 1 : 0);
        case Op::BitNot:
            return static_cast<T>(Wrap(~ua));
        case Op::Add:
            if constexpr (kReal) {
                return a + b;
            } else {
                return Wrap(ua + ub);
            }
        case Op::Sub:
            if constexpr (kReal) {
                return a - b;
            } else {
                return Wrap(ua - ub);
            }
        case Op::Mul:
            if constexpr (kReal) {
                return a * b;
            } else {
                return Wrap(ua * ub);
            }
        case Op::Div:
        case Op::Mod:
            if constexpr (kReal) {
                if (n.op == Op::Div) return a / b;
                return std::fmod(a, b);
            } else {
                if (b == 0) {
                    reason = "a division by zero";
                    return std::nullopt;
                }
                if (a == std::numeric_limits<std::int64_t>::min() && b == -1) {
                    return n.op == Op::Div ? a : 0;
                }
                return n.op == Op::Div ? a / b : a % b;
            }
        case Op::Pow:
            if constexpr (kReal) {
                return std::pow(a, b);
            } else {
                if (b < 0) return a == 1 ? 1 : 0;
                std::uint64_t r = 1, base = ua;
                for (std::int64_t e = b; e > 0; e >>= 1) {
                    if ((e & 1) != 0) r *= base;
                    base *= base;
                }
                return Wrap(r);
            }
        case Op::Shl:
            return static_cast<T>(ub >= 64 ? 0 : Wrap(ua << ub));
        case Op::Shr:
            // An arithmetic shift, as for signed numbers in C.
            return static_cast<T>(ub >= 64 ? (ia() < 0 ? -1 : 0) : ia() >> ub);
        case Op::Lt:
            return static_cast<T>(a < b ? 1 : 0);
        case Op::Gt:
            return static_cast<T>(a > b ? 1 : 0);
        case Op::Le:
            return static_cast<T>(a <= b ? 1 : 0);
        case Op::Ge:
            return static_cast<T>(a >= b ? 1 : 0);
        case Op::Eq:
            return static_cast<T>(a == b ? 1 : 0);
        case Op::Ne:
            return static_cast<T>(a != b ? 1 : 0);
        case Op::BitAnd:
            return static_cast<T>(Wrap(ua & ub));
        case Op::BitXor:
            return static_cast<T>(Wrap(ua ^ ub));
        case Op::BitOr:
            return static_cast<T>(Wrap(ua | ub));
        case Op::Function: {
            if (n.name == "NEG")
                return static_cast<T>(kReal ? -static_cast<double>(a) : Wrap(0 - ua));
            if (n.name == "ABS" && !kReal) return static_cast<T>(a < 0 ? Wrap(0 - ua) : a);
            if (n.name == "SGN" && !kReal) return static_cast<T>(a > 0 ? 1 : a < 0 ? -1 : 0);
            const double r = RealFunction(n.name, static_cast<double>(a),
                                          n.args.size() > 1 ? static_cast<double>(b) : 0);
            if constexpr (kReal) {
                return r;
            } else {
                return ToWhole(r);
            }
        }
        default:
            break;
    }
    reason = "a formula the evaluator cannot read";
    return std::nullopt;
}

}  // namespace

Formula::Formula() = default;
Formula::~Formula() = default;
Formula::Formula(Formula&&) noexcept = default;
Formula& Formula::operator=(Formula&&) noexcept = default;

Formula Formula::Parse(std::string_view text, std::string& error) {
    Formula f;
    error.clear();
    if (text.size() > kMaxLength) {
        error = "the formula is longer than " + std::to_string(kMaxLength) + " characters";
        return f;
    }
    Parser parser(text, f.variables_);
    f.root_ = parser.Run(error);
    if (!error.empty()) f.variables_.clear();
    return f;
}

std::optional<double> Formula::Evaluate(const Lookup& lookup, std::string& reason) const {
    if (!root_) {
        reason = "no formula";
        return std::nullopt;
    }
    return Eval<double>(*root_, lookup, reason);
}

std::optional<std::int64_t> Formula::EvaluateInt(const IntLookup& lookup,
                                                 std::string& reason) const {
    if (!root_) {
        reason = "no formula";
        return std::nullopt;
    }
    return Eval<std::int64_t>(*root_, lookup, reason);
}

}  // namespace vk::genicam
