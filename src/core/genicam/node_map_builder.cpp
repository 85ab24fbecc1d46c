#include "core/genicam/node_map.h"

#ifndef VK_HAVE_DESCRIPTION
namespace vk::genicam {

// A build without an XML parser reads no description.
std::unique_ptr<NodeMap> BuildNodeMap(std::string_view, std::string& error) {
    error = "this build reads no device descriptions (built without XML support)";
    return nullptr;
}

}  // namespace vk::genicam
#else
#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "core/genicam/node_kinds.h"
#include "core/genicam/node_map.h"

namespace vk::genicam {
namespace {

// Groups nest a few levels; deeper ones are not walked, so a hostile file cannot exhaust
// the stack.
constexpr int kMaxNesting = 32;

std::string Trimmed(std::string_view v) {
    while (!v.empty() && std::isspace(static_cast<unsigned char>(v.front())))
        v.remove_prefix(1);
    while (!v.empty() && std::isspace(static_cast<unsigned char>(v.back())))
        v.remove_suffix(1);
    return std::string(v);
}

// The element's name without a namespace prefix ("g:Integer" is "Integer").
std::string LocalName(const pugi::xml_node& node) {
    const std::string_view name(node.name());
    const auto colon = name.find(':');
    return std::string(colon == std::string_view::npos ? name : name.substr(colon + 1));
}

class Builder {
public:
    explicit Builder(NodeMap& map) : map_(map) {}

    void Walk(const pugi::xml_node& parent, int depth) {
        if (depth > kMaxNesting) {
            Note("groups nested deeper than " + std::to_string(kMaxNesting) + " are skipped");
            return;
        }
        for (const pugi::xml_node& node : parent.children()) {
            if (node.type() != pugi::node_element) continue;
            if (full_) return;
            const std::string type = LocalName(node);
            if (type == "Group") {
                Walk(node, depth + 1);
            } else if (type == "StructReg") {
                AddStruct(node);
            } else {
                Add(type, node);
            }
        }
    }

    void Finish() {
        NoteMissingReferences();
        if (skipped_.empty()) return;
        std::string text = "Node types this tool does not know were skipped:";
        for (const auto& [type, count] : skipped_)
            text += " " + type + " (" + std::to_string(count) + ")";
        map_.Notes().push_back(text);
    }

private:
    // pValue, pFeature, pIsAvailable and the like name nodes; the ones the description lacks
    // are named once, the first few of them.
    void NoteMissingReferences() {
        constexpr std::size_t kNamed = 10;
        std::vector<std::string> missing;
        std::size_t count = 0;
        std::set<std::string> seen;
        for (const auto& node : map_.Nodes()) {
            for (const Prop& p : node->Props()) {
                if (p.element.size() < 2 || p.element[0] != 'p' ||
                    std::isupper(static_cast<unsigned char>(p.element[1])) == 0 || p.text.empty() ||
                    map_.Find(p.text) != nullptr || !seen.insert(p.text).second) {
                    continue;
                }
                if (++count <= kNamed) missing.push_back(p.text + " (" + node->Name() + ")");
            }
        }
        if (count == 0) return;
        std::string text = "References to nodes the description does not have:";
        for (const std::string& m : missing)
            text += " " + m;
        if (count > kNamed) text += " and " + std::to_string(count - kNamed) + " more";
        map_.Notes().push_back(text);
    }

    void Note(const std::string& text) {
        if (noted_.emplace(text, 1).second) map_.Notes().push_back(text);
    }

    std::vector<Prop> PropsOf(const pugi::xml_node& node, const std::string& owner) {
        std::vector<Prop> props;
        int inline_ = 0;
        for (const pugi::xml_node& child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            Prop p;
            p.element = LocalName(child);
            if (p.element == "EnumEntry" || p.element == "StructEntry") continue;
            if (p.element == "IntSwissKnife" || p.element == "SwissKnife") {
                // An address computed in place: a node of its own, named after its register.
                const std::string name = owner + "#" + p.element + std::to_string(++inline_);
                Add(p.element, child, name);
                p.element = "pAddress";
                p.text = name;
                props.push_back(std::move(p));
                continue;
            }
            p.text = Trimmed(child.child_value());
            for (const pugi::xml_attribute& a : child.attributes())
                p.attributes.emplace_back(a.name(), a.value());
            props.push_back(std::move(p));
        }
        return props;
    }

    void Add(const std::string& type, const pugi::xml_node& node, std::string name = {}) {
        if (name.empty()) name = node.attribute("Name").value();
        if (name.empty()) {
            Note("A " + type + " without a Name is skipped.");
            return;
        }
        std::vector<Prop> props = PropsOf(node, name);
        std::unique_ptr<Node> made = MakeNode(type, name, std::move(props));
        if (!made) {
            ++skipped_[type];
            return;
        }
        if (const auto* f = dynamic_cast<const FormulaNode*>(made.get());
            f != nullptr && !f->FormulaError().empty()) {
            Note(f->FormulaError());
        }
        if (type == "Enumeration") made->entries = EntriesOf(node);
        Store(std::move(made));
    }

    // Each StructEntry is a masked register with the StructReg's address, length and port.
    void AddStruct(const pugi::xml_node& node) {
        const std::vector<Prop> shared = PropsOf(node, node.attribute("Name").value());
        for (const pugi::xml_node& entry : node.children()) {
            if (LocalName(entry) != "StructEntry") continue;
            const std::string name = entry.attribute("Name").value();
            if (name.empty()) continue;
            std::vector<Prop> own = PropsOf(entry, name);
            for (const Prop& p : shared) {
                const bool overridden = std::any_of(
                    own.begin(), own.end(), [&](const Prop& o) { return o.element == p.element; });
                if (!overridden) own.push_back(p);
            }
            Store(MakeNode("StructEntry", name, std::move(own)));
        }
    }

    std::vector<EnumEntry> EntriesOf(const pugi::xml_node& node) {
        std::vector<EnumEntry> entries;
        for (const pugi::xml_node& child : node.children()) {
            if (LocalName(child) != "EnumEntry") continue;
            EnumEntry e;
            e.name = child.attribute("Name").value();
            e.displayName = Trimmed(child.child_value("DisplayName"));
            e.toolTip = Trimmed(child.child_value("ToolTip"));
            e.symbolic = Trimmed(child.child_value("Symbolic"));
            e.isImplemented = Trimmed(child.child_value("pIsImplemented"));
            e.isAvailable = Trimmed(child.child_value("pIsAvailable"));
            e.value = ParseInt(Trimmed(child.child_value("Value"))).value_or(0);
            entries.push_back(std::move(e));
        }
        return entries;
    }

    void Store(std::unique_ptr<Node> node) {
        if (map_.Nodes().size() >= NodeMap::kMaxNodes) {
            map_.Notes().push_back("The description has more than " +
                                   std::to_string(NodeMap::kMaxNodes) +
                                   " nodes; the rest are skipped.");
            full_ = true;
            return;
        }
        map_.Add(std::move(node));
    }

    NodeMap& map_;
    bool full_ = false;
    std::map<std::string, int> skipped_;
    std::map<std::string, int> noted_;
};

std::size_t LineOf(std::string_view text, std::ptrdiff_t offset) {
    const auto end = text.begin() + std::clamp<std::ptrdiff_t>(offset, 0, text.size());
    return 1 + static_cast<std::size_t>(std::count(text.begin(), end, '\n'));
}

}  // namespace

std::unique_ptr<NodeMap> BuildNodeMap(std::string_view xml, std::string& error) {
    error.clear();
    pugi::xml_document doc;
    const pugi::xml_parse_result loaded = doc.load_buffer(xml.data(), xml.size());
    if (!loaded) {
        error = std::string("not a readable XML file (") + loaded.description() + " on line " +
                std::to_string(LineOf(xml, loaded.offset)) + ")";
        return nullptr;
    }
    pugi::xml_node root;
    for (const pugi::xml_node& n : doc.children()) {
        if (n.type() == pugi::node_element && LocalName(n) == "RegisterDescription") root = n;
    }
    if (!root) {
        error = "not a device description (no RegisterDescription element)";
        return nullptr;
    }
    auto map = std::make_unique<NodeMap>();
    Builder builder(*map);
    builder.Walk(root, 0);
    builder.Finish();
    return map;
}

}  // namespace vk::genicam
#endif
