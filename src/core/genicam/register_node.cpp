#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/genicam/formula.h"
#include "core/genicam/node_kinds.h"
#include "core/genicam/node_map.h"

namespace vk::genicam {
namespace {

constexpr std::uint32_t kMaxNumberLength = 8;

std::uint64_t Load(const std::vector<std::uint8_t>& bytes, bool little) {
    std::uint64_t v = 0;
    const std::size_t n = std::min<std::size_t>(bytes.size(), kMaxNumberLength);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t b = little ? bytes[n - 1 - i] : bytes[i];
        v = (v << 8) | b;
    }
    return v;
}

void Store(std::vector<std::uint8_t>& bytes, std::uint64_t v, bool little) {
    const std::size_t n = std::min<std::size_t>(bytes.size(), kMaxNumberLength);
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
        bytes[little ? i : n - 1 - i] = b;
    }
}

std::uint64_t Mask(int bits) {
    return bits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
}

template <typename T>
Got<T> Fail(std::string why) {
    return Got<T>::Fail(std::move(why));
}

}  // namespace

Kind RegisterNode::GetKind() const {
    if (Type() == "FloatReg") return Kind::Float;
    if (Type() == "StringReg") return Kind::String;
    if (Type() == "Register") return Kind::Register;
    return Kind::Integer;
}

bool RegisterNode::Masked() const {
    return Type() == "MaskedIntReg" || Type() == "StructEntry";
}

bool RegisterNode::Signed() const {
    return Text("Sign") == "Signed";
}

Access RegisterNode::OwnAccess(Eval) const {
    return Has("AccessMode") ? AccessFromText(Text("AccessMode")) : Access::RO;
}

Got<RegisterPlace> RegisterNode::Place(Eval e) const {
    RegisterPlace place;
    const Got<std::int64_t> length = IntOf(e, "Length", "pLength");
    if (!length) return Fail<RegisterPlace>(length.reason);
    if (*length <= 0 || *length > 0xFFFF) {
        return Fail<RegisterPlace>(Name() + " has a length of " + std::to_string(*length));
    }
    place.length = static_cast<std::uint32_t>(*length);
    std::uint64_t address = 0;
    for (const Prop& p : Props()) {
        Got<std::int64_t> part{0, {}};
        if (p.element == "Address") {
            const auto v = ParseInt(p.text);
            if (!v) return Fail<RegisterPlace>(Name() + ": bad Address " + p.text);
            part.value = *v;
        } else if (p.element == "pAddress") {
            part = e.map.IntOfNode(e.Deeper(), p.text);
        } else if (p.element == "pIndex") {
            const Got<std::int64_t> index = e.map.IntOfNode(e.Deeper(), p.text);
            if (!index) return Fail<RegisterPlace>(index.reason);
            Got<std::int64_t> offset{static_cast<std::int64_t>(place.length), {}};
            if (const std::string o = p.Attribute("Offset"); !o.empty()) {
                offset.value = ParseInt(o);
                if (!offset.value) return Fail<RegisterPlace>(Name() + ": bad Offset " + o);
            } else if (const std::string po = p.Attribute("pOffset"); !po.empty()) {
                offset = e.map.IntOfNode(e.Deeper(), po);
            }
            if (!offset) return Fail<RegisterPlace>(offset.reason);
            part.value = static_cast<std::int64_t>(static_cast<std::uint64_t>(*index) *
                                                   static_cast<std::uint64_t>(*offset));
        } else {
            continue;
        }
        if (!part) return Fail<RegisterPlace>(part.reason);
        address += static_cast<std::uint64_t>(*part);
    }
    place.address = address;
    return Got<RegisterPlace>{place, {}};
}

Got<std::vector<std::uint8_t>> RegisterNode::Bytes(Eval e, RegisterPlace& place) const {
    const Got<RegisterPlace> p = Place(e);
    if (!p) return Fail<std::vector<std::uint8_t>>(p.reason);
    place = *p;
    if (GetAccess(e) == Access::WO)
        return Fail<std::vector<std::uint8_t>>(Name() + " is write only");
    return e.map.Read(*this, place);
}

Got<std::int64_t> RegisterNode::Int(Eval e) const {
    if (GetKind() == Kind::Float) {
        const Got<double> r = Real(e);
        if (!r) return Fail<std::int64_t>(r.reason);
        return Got<std::int64_t>{ToWhole(*r), {}};
    }
    if (GetKind() != Kind::Integer) return Node::Int(e);
    RegisterPlace place;
    const auto bytes = Bytes(e, place);
    if (!bytes) return Fail<std::int64_t>(bytes.reason);
    if (place.length > kMaxNumberLength) {
        return Fail<std::int64_t>(Name() + " has " + std::to_string(place.length) +
                                  " bytes; a number has at most 8");
    }
    const int low = Masked() ? LowBitOf(place.length) : 0;
    const int high = Masked() ? HighBitOf(place.length) : static_cast<int>(8 * place.length) - 1;
    if (low < 0 || high >= 64 || high < low) return Fail<std::int64_t>(Name() + ": bad bit range");
    const int bits = high - low + 1;
    std::uint64_t v = (Load(*bytes, LittleEndian()) >> low) & Mask(bits);
    if (Signed() && bits < 64 && ((v >> (bits - 1)) & 1) != 0) v |= ~Mask(bits);
    return Got<std::int64_t>{static_cast<std::int64_t>(v), {}};
}

Got<double> RegisterNode::Real(Eval e) const {
    if (GetKind() != Kind::Float) return Node::Real(e);
    RegisterPlace place;
    const auto bytes = Bytes(e, place);
    if (!bytes) return Fail<double>(bytes.reason);
    const std::uint64_t raw = Load(*bytes, LittleEndian());
    if (place.length == 4) {
        return Got<double>{std::bit_cast<float>(static_cast<std::uint32_t>(raw)), {}};
    }
    if (place.length == 8) return Got<double>{std::bit_cast<double>(raw), {}};
    return Fail<double>(Name() + " has " + std::to_string(place.length) +
                        " bytes; a float register has 4 or 8");
}

Got<std::string> RegisterNode::String(Eval e) const {
    if (GetKind() == Kind::Integer || GetKind() == Kind::Float) return Node::String(e);
    RegisterPlace place;
    const auto bytes = Bytes(e, place);
    if (!bytes) return Fail<std::string>(bytes.reason);
    if (GetKind() == Kind::String) {
        const auto end = std::find(bytes.value->begin(), bytes.value->end(), 0);
        return Got<std::string>{std::string(bytes.value->begin(), end), {}};
    }
    std::string hex;
    for (std::uint8_t b : *bytes) {
        char two[4];
        std::snprintf(two, sizeof two, "%02X", b);
        hex += two;
    }
    return Got<std::string>{hex, {}};
}

Done RegisterNode::SetInt(Eval e, std::int64_t value) const {
    if (GetKind() == Kind::Float) return SetReal(e, static_cast<double>(value));
    if (GetKind() != Kind::Integer) return Node::SetInt(e, value);
    const Got<RegisterPlace> place = Place(e);
    if (!place) return Done::Fail(place.reason);
    if (place.value->length > kMaxNumberLength) return Done::Fail(Name() + " is no number");
    const Got<IntLimits> l = Limits(e);
    if (l && (value < l.value->min || value > l.value->max)) {
        return Done::Fail(std::to_string(value) + " does not fit " + Name() + " (" +
                          std::to_string(l.value->min) + " to " + std::to_string(l.value->max) +
                          ")");
    }
    std::vector<std::uint8_t> bytes(place.value->length, 0);
    if (Masked()) {
        // The other bits of the word keep what the camera holds.
        const auto now = e.map.Read(*this, *place);
        if (!now) return Done::Fail(now.reason);
        bytes = *now;
        const int low = LowBitOf(place.value->length);
        const int bits = HighBitOf(place.value->length) - low + 1;
        if (low < 0 || bits < 1 || low + bits > 64) return Done::Fail(Name() + ": bad bit range");
        std::uint64_t word = Load(bytes, LittleEndian());
        word &= ~(Mask(bits) << low);
        word |= (static_cast<std::uint64_t>(value) & Mask(bits)) << low;
        Store(bytes, word, LittleEndian());
    } else {
        Store(bytes, static_cast<std::uint64_t>(value), LittleEndian());
    }
    return e.map.Write(*this, *place, bytes);
}

Done RegisterNode::SetReal(Eval e, double value) const {
    if (GetKind() != Kind::Float) return Node::SetReal(e, value);
    const Got<RegisterPlace> place = Place(e);
    if (!place) return Done::Fail(place.reason);
    std::vector<std::uint8_t> bytes(place.value->length, 0);
    if (place.value->length == 4) {
        Store(bytes, std::bit_cast<std::uint32_t>(static_cast<float>(value)), LittleEndian());
    } else if (place.value->length == 8) {
        Store(bytes, std::bit_cast<std::uint64_t>(value), LittleEndian());
    } else {
        return Done::Fail(Name() + " is no float register of 4 or 8 bytes");
    }
    return e.map.Write(*this, *place, bytes);
}

Done RegisterNode::SetString(Eval e, const std::string& value) const {
    if (GetKind() == Kind::Integer) {
        const auto v = ParseInt(value);
        return v ? SetInt(e, *v) : Done::Fail("not a whole number: " + value);
    }
    if (GetKind() == Kind::Float) {
        const auto v = ParseReal(value);
        return v ? SetReal(e, *v) : Done::Fail("not a number: " + value);
    }
    if (GetKind() != Kind::String) return Node::SetString(e, value);
    const Got<RegisterPlace> place = Place(e);
    if (!place) return Done::Fail(place.reason);
    if (value.size() > place.value->length) {
        return Done::Fail("the text has more than the " + std::to_string(place.value->length) +
                          " bytes of " + Name());
    }
    std::vector<std::uint8_t> bytes(place.value->length, 0);
    std::copy(value.begin(), value.end(), bytes.begin());
    return e.map.Write(*this, *place, bytes);
}

Got<IntLimits> RegisterNode::Limits(Eval e) const {
    if (GetKind() != Kind::Integer) return Node::Limits(e);
    const Got<RegisterPlace> place = Place(e);
    int bits = 32;
    if (place) {
        const std::uint32_t length = std::min(place.value->length, kMaxNumberLength);
        bits = Masked() ? HighBitOf(length) - LowBitOf(length) + 1 : static_cast<int>(8 * length);
    }
    bits = std::clamp(bits, 1, 64);
    IntLimits l;
    if (Signed()) {
        l.min = bits >= 64 ? std::numeric_limits<std::int64_t>::min()
                           : -static_cast<std::int64_t>(std::uint64_t{1} << (bits - 1));
        l.max = bits >= 64 ? std::numeric_limits<std::int64_t>::max()
                           : static_cast<std::int64_t>((std::uint64_t{1} << (bits - 1)) - 1);
    } else {
        l.min = 0;
        l.max = bits >= 63 ? std::numeric_limits<std::int64_t>::max()
                           : static_cast<std::int64_t>(Mask(bits));
    }
    return Got<IntLimits>{l, {}};
}

Got<RealLimits> RegisterNode::RealRange(Eval e) const {
    if (GetKind() != Kind::Float) return Node::RealRange(e);
    const Got<RegisterPlace> place = Place(e);
    const double top = place && place.value->length == 4 ? std::numeric_limits<float>::max()
                                                         : std::numeric_limits<double>::max();
    return Got<RealLimits>{RealLimits{-top, top}, {}};
}

// Bit numbers as the description writes them count from the least significant bit of a
// little-endian register and from the most significant bit of a big-endian one.
int RegisterNode::LowBitOf(std::uint32_t length) const {
    const auto [a, b] = BitsAsWritten();
    const int top = static_cast<int>(8 * std::min(length, kMaxNumberLength)) - 1;
    return LittleEndian() ? std::min(a, b) : top - std::max(a, b);
}

int RegisterNode::HighBitOf(std::uint32_t length) const {
    const auto [a, b] = BitsAsWritten();
    const int top = static_cast<int>(8 * std::min(length, kMaxNumberLength)) - 1;
    return LittleEndian() ? std::max(a, b) : top - std::min(a, b);
}

std::pair<int, int> RegisterNode::BitsAsWritten() const {
    if (const auto bit = ParseInt(Text("Bit"))) {
        return {static_cast<int>(*bit), static_cast<int>(*bit)};
    }
    const int lsb = static_cast<int>(ParseInt(Text("LSB")).value_or(0));
    const int msb = static_cast<int>(ParseInt(Text("MSB")).value_or(lsb));
    return {lsb, msb};
}

}  // namespace vk::genicam
