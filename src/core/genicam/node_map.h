#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/genicam/node.h"
#include "core/genicam/register_cache.h"
#include "core/genicam/register_port.h"

namespace vk::genicam {

// The nodes of a device description, their references by name, the register cache and the
// values held in the description itself. Values come from the camera through the register
// port, and only for registers on the device's port; without a port only the description's
// own values can be read.
class NodeMap {
public:
    static constexpr std::size_t kMaxNodes = 100000;
    static constexpr int kMaxDepth = 64;

    void Add(std::unique_ptr<Node> node);  // the first node of a name counts
    const Node* Find(std::string_view name) const;
    const std::vector<std::unique_ptr<Node>>& Nodes() const { return nodes_; }
    std::vector<std::string>& Notes() { return notes_; }
    const std::vector<std::string>& Notes() const { return notes_; }

    void SetPort(RegisterPort* port) { port_ = port; }
    bool HasPort() const { return port_ != nullptr; }

    // The node a reference names, failing with a reason beyond kMaxDepth (a loop).
    Got<const Node*> Resolve(Node::Eval e, std::string_view name);
    Got<std::int64_t> IntOfNode(Node::Eval e, std::string_view name);
    Got<double> RealOfNode(Node::Eval e, std::string_view name);

    // Register bytes, read through the cache as `reg`'s Cachable allows: NoCache always asks
    // the camera; WriteThrough (the default) also keeps what it writes, WriteAround does not.
    Got<std::vector<std::uint8_t>> Read(const Node& reg, RegisterPlace place);
    Done Write(const Node& reg, RegisterPlace place, const std::vector<std::uint8_t>& bytes);
    // A value changed: registers that name `node` (or any node) as pInvalidator forget
    // what they held.
    void Changed(const Node& node);
    void ClearCache() { cache_.Clear(); }

    // Values the description holds itself (<Value> without a register).
    std::optional<std::int64_t> LocalInt(const Node& node) const;
    std::optional<double> LocalReal(const Node& node) const;
    std::optional<std::string> LocalString(const Node& node) const;
    void SetLocal(const Node& node, std::int64_t value) { localInt_[&node] = value; }
    void SetLocal(const Node& node, double value) { localReal_[&node] = value; }
    void SetLocal(const Node& node, std::string value) { localText_[&node] = std::move(value); }

    // The root category ("Root", else the first category no other one names).
    const Node* Root() const;
    std::vector<const Node*> Features(const Node& category) const;
    // Every feature reached from the root, depth first, with its category path ("Root/A/B").
    std::vector<std::pair<const Node*, std::string>> Walk() const;
    // The features a selector selects (its pSelected), and the selectors of a feature.
    std::vector<const Node*> Selected(const Node& selector) const;

    Node::Eval Eval() { return Node::Eval{*this, 0}; }

private:
    bool OnDevicePort(const Node& reg, std::string& reason);

    std::vector<std::unique_ptr<Node>> nodes_;
    std::unordered_map<std::string, const Node*> byName_;
    std::vector<std::string> notes_;
    RegisterPort* port_ = nullptr;
    RegisterCache cache_;
    std::unordered_map<const Node*, std::int64_t> localInt_;
    std::unordered_map<const Node*, double> localReal_;
    std::unordered_map<const Node*, std::string> localText_;
    std::unordered_map<std::string, std::vector<const Node*>> invalidatedBy_;
};

// Reads a description into a node map; `error` is empty when it parsed. Unknown node kinds
// are skipped and named once in the notes.
std::unique_ptr<NodeMap> BuildNodeMap(std::string_view xml, std::string& error);

}  // namespace vk::genicam
