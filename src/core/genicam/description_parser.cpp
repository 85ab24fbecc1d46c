#include "core/genicam/description_parser.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <string>
#include <unordered_map>

#include "core/protocol/reply_parser.h"

namespace vk {
namespace {

using namespace feature_flags;

// Element names of the features, with the kind flag their record gets.
struct FeatureElement {
    std::string_view name;
    std::uint32_t kind;
};

constexpr std::array kFeatureElements = {
    FeatureElement{"StringReg", kText}, FeatureElement{"Integer", 0},
    FeatureElement{"Float", kFloat},    FeatureElement{"Enumeration", 0},
    FeatureElement{"Boolean", 0},       FeatureElement{"Command", kCommand},
};

constexpr std::array<std::string_view, 4> kRegisterElements = {"IntReg", "MaskedIntReg", "FloatReg",
                                                               "StringReg"};

// A feature may reach its register through other features' pValue; a loop in the file must
// not run for ever.
constexpr int kMaxValueHops = 8;
// Descriptions nest a few levels; a file nested deeper than this is not walked further, so
// that a hostile one cannot exhaust the stack.
constexpr int kMaxDepth = 32;

std::string Trimmed(const char* text) {
    std::string_view v(text);
    while (!v.empty() && std::isspace(static_cast<unsigned char>(v.front())))
        v.remove_prefix(1);
    while (!v.empty() && std::isspace(static_cast<unsigned char>(v.back())))
        v.remove_suffix(1);
    return std::string(v);
}

std::string ChildText(const pugi::xml_node& node, const char* name) {
    return Trimmed(node.child_value(name));
}

std::uint32_t ParseUnsigned(const std::string& text) {
    return static_cast<std::uint32_t>(std::strtoull(text.c_str(), nullptr, 0));
}

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

std::uint32_t AccessBits(const std::string& mode) {
    if (SameLetters(mode, "RO")) return kReadable;
    if (SameLetters(mode, "WO")) return kWritable;
    if (SameLetters(mode, "RW")) return kReadable | kWritable;
    return 0;
}

const FeatureElement* FeatureOf(const pugi::xml_node& node) {
    for (const FeatureElement& f : kFeatureElements) {
        if (f.name == node.name()) return &f;
    }
    return nullptr;
}

bool IsRegister(const pugi::xml_node& node) {
    return std::find(kRegisterElements.begin(), kRegisterElements.end(),
                     std::string_view(node.name())) != kRegisterElements.end();
}

std::string DisplayName(const pugi::xml_node& node) {
    std::string name = ChildText(node, "DisplayName");
    return name.empty() ? FeatureRecord::kNoName : name;
}

class Parser {
public:
    explicit Parser(const pugi::xml_node& root) { IndexNames(root, 0); }

    void Walk(const pugi::xml_node& parent, DescriptionParse& out, int depth = 0) {
        if (depth > kMaxDepth) return;
        for (const pugi::xml_node& node : parent.children()) {
            if (node.type() != pugi::node_element) continue;
            if (full_) return;
            if (std::string_view(node.name()) == "Category") {
                FeatureRecord record;
                record.flags = kCategory;
                record.displayName = DisplayName(node);
                Add(std::move(record), out);
            } else if (const FeatureElement* kind = FeatureOf(node)) {
                AddFeature(node, *kind, out);
            } else {
                Walk(node, out, depth + 1);  // groups and other containers
            }
        }
    }

private:
    void IndexNames(const pugi::xml_node& parent, int depth) {
        if (depth > kMaxDepth) return;
        for (const pugi::xml_node& node : parent.children()) {
            if (node.type() != pugi::node_element) continue;
            if (const char* name = node.attribute("Name").value(); *name != '\0') {
                byName_.emplace(name, node);  // the first of a name counts
            }
            IndexNames(node, depth + 1);
        }
    }

    // The register element that holds the feature's value; empty when there is none.
    pugi::xml_node RegisterOf(const pugi::xml_node& feature) const {
        pugi::xml_node node = feature;
        for (int hop = 0; hop < kMaxValueHops; ++hop) {
            if (hop > 0) {
                if (IsRegister(node)) return node;
                if (std::string_view(node.name()) == "StructEntry") return node.parent();
                if (FeatureOf(node) == nullptr) return {};  // a formula or a converter
            }
            const pugi::xml_node pValue = node.child("pValue");
            if (!pValue) return {};
            const auto it = byName_.find(Trimmed(pValue.child_value()));
            if (it == byName_.end()) return {};
            node = it->second;
        }
        return {};
    }

    void AddFeature(const pugi::xml_node& node, const FeatureElement& kind, DescriptionParse& out) {
        const bool isString = kind.name == "StringReg";
        const pugi::xml_node reg = isString ? node : RegisterOf(node);
        if (!reg) return;  // nothing to read or write

        FeatureRecord record;
        record.displayName = DisplayName(node);
        record.flags = kind.kind | AccessBits(ChildText(reg, "AccessMode"));
        for (const pugi::xml_node& address : reg.children("Address")) {
            record.address += ParseUnsigned(Trimmed(address.child_value()));
        }
        record.length = ParseUnsigned(ChildText(reg, "Length"));
        if (kind.kind == kFloat) {
            // Limits of a floating-point feature are real numbers; keep their fraction.
            record.min = std::strtod(ChildText(node, "Min").c_str(), nullptr);
            record.max = std::strtod(ChildText(node, "Max").c_str(), nullptr);
        } else {
            record.min = ParseCInteger(ChildText(node, "Min"));
            record.max = ParseCInteger(ChildText(node, "Max"));
        }
        if (kind.kind == kCommand) record.min = ParseCInteger(ChildText(node, "CommandValue"));
        if (kind.name == "Boolean") {
            record.entries = {{0, "FALSE"}, {1, "TRUE"}};
        } else if (kind.name == "Enumeration") {
            AddEntries(node, record, out);
        }
        Add(std::move(record), out);
    }

    void AddEntries(const pugi::xml_node& node, FeatureRecord& record, DescriptionParse& out) {
        for (const pugi::xml_node& entry : node.children("EnumEntry")) {
            if (record.entries.size() == FeatureTable::kMaxEntries) {
                if (!entriesNoted_) {
                    out.notes.push_back("Enumeration \"" + record.displayName +
                                        "\" has more than " +
                                        std::to_string(FeatureTable::kMaxEntries) +
                                        " entries; the rest are skipped.");
                    entriesNoted_ = true;
                }
                return;
            }
            std::string name = ChildText(entry, "DisplayName");
            if (name.empty()) name = entry.attribute("Name").value();
            record.entries.push_back(
                FeatureEntry{ParseCInteger(ChildText(entry, "Value")), std::move(name)});
        }
    }

    void Add(FeatureRecord record, DescriptionParse& out) {
        if (out.table.records.size() == FeatureTable::kMaxRecords) {
            out.notes.push_back("The description has more than " +
                                std::to_string(FeatureTable::kMaxRecords) +
                                " features; the rest are skipped.");
            full_ = true;
            return;
        }
        out.table.records.push_back(std::move(record));
    }

    std::unordered_map<std::string, pugi::xml_node> byName_;
    bool full_ = false;
    bool entriesNoted_ = false;
};

std::size_t LineOf(std::string_view text, std::ptrdiff_t offset) {
    const auto end = text.begin() + std::clamp<std::ptrdiff_t>(offset, 0, text.size());
    return 1 + static_cast<std::size_t>(std::count(text.begin(), end, '\n'));
}

}  // namespace

DescriptionParse ParseDescription(std::string_view xml) {
    DescriptionParse out;
    pugi::xml_document doc;
    const pugi::xml_parse_result loaded = doc.load_buffer(xml.data(), xml.size());
    if (!loaded) {
        out.error = std::string("not a readable XML file (") + loaded.description() + " on line " +
                    std::to_string(LineOf(xml, loaded.offset)) + ")";
        return out;
    }
    const pugi::xml_node root = doc.child("RegisterDescription");
    if (!root) {
        out.error = "not a device description (no RegisterDescription element)";
        return out;
    }
    Parser parser(root);
    parser.Walk(root, out);
    out.ok = true;
    return out;
}

}  // namespace vk
