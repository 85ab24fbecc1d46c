#include "core/genicam/node_map.h"

#include <algorithm>
#include <functional>
#include <set>

namespace vk::genicam {
namespace {

constexpr std::size_t kMaxWalk = NodeMap::kMaxNodes;

}  // namespace

void NodeMap::Add(std::unique_ptr<Node> node) {
    if (byName_.count(node->Name()) != 0) {
        notes_.push_back("The node name \"" + node->Name() + "\" is used twice; the first counts.");
        return;
    }
    byName_.emplace(node->Name(), node.get());
    for (const Prop* p : node->All("pInvalidator"))
        invalidatedBy_[p->text].push_back(node.get());
    nodes_.push_back(std::move(node));
}

const Node* NodeMap::Find(std::string_view name) const {
    const auto it = byName_.find(std::string(name));
    return it == byName_.end() ? nullptr : it->second;
}

Got<const Node*> NodeMap::Resolve(Node::Eval e, std::string_view name) {
    if (e.depth > kMaxDepth) {
        return Got<const Node*>::Fail("references nested deeper than " + std::to_string(kMaxDepth) +
                                      " at " + std::string(name));
    }
    const Node* node = Find(name);
    if (node == nullptr) return Got<const Node*>::Fail("no node named " + std::string(name));
    return Got<const Node*>{node, {}};
}

Got<std::int64_t> NodeMap::IntOfNode(Node::Eval e, std::string_view name) {
    const Got<const Node*> node = Resolve(e, name);
    if (!node) return Got<std::int64_t>::Fail(node.reason);
    return (*node)->Int(e);
}

Got<double> NodeMap::RealOfNode(Node::Eval e, std::string_view name) {
    const Got<const Node*> node = Resolve(e, name);
    if (!node) return Got<double>::Fail(node.reason);
    return (*node)->Real(e);
}

bool NodeMap::OnDevicePort(const Node& reg, std::string& reason) {
    const std::string portName = reg.Text("pPort");
    if (portName.empty()) return true;
    const Node* port = Find(portName);
    if (port == nullptr) {
        reason = reg.Name() + ": no port named " + portName;
        return false;
    }
    // Chunk and event data come with images and events, not from the camera's memory.
    if (port->Has("ChunkID") || port->Has("pChunkID") || port->Has("EventID")) {
        reason = reg.Name() + " lies on port " + portName + " (chunk or event data)";
        return false;
    }
    return true;
}

Got<std::vector<std::uint8_t>> NodeMap::Read(const Node& reg, RegisterPlace place) {
    using Result = Got<std::vector<std::uint8_t>>;
    const bool cachable = reg.Text("Cachable") != "NoCache";
    if (cachable) {
        if (auto held = cache_.Find(reg, place)) return Result{std::move(*held), {}};
    }
    std::string reason;
    if (!OnDevicePort(reg, reason)) return Result::Fail(reason);
    if (port_ == nullptr) return Result::Fail("no camera to read " + reg.Name() + " from");
    RegisterResult r = port_->Read(place.address, place.length);
    if (!r.ok()) return Result::Fail(r.reason);
    if (r.bytes.size() != place.length) {
        return Result::Fail(reg.Name() + ": " + std::to_string(r.bytes.size()) + " of " +
                            std::to_string(place.length) + " bytes came");
    }
    if (cachable) cache_.Keep(reg, place, r.bytes);
    return Result{std::move(r.bytes), {}};
}

Done NodeMap::Write(const Node& reg, RegisterPlace place, const std::vector<std::uint8_t>& bytes) {
    std::string reason;
    if (!OnDevicePort(reg, reason)) return Done::Fail(reason);
    if (port_ == nullptr) return Done::Fail("no camera to write " + reg.Name() + " to");
    if (bytes.size() % 4 != 0) {
        return Done::Fail(reg.Name() + " has " + std::to_string(bytes.size()) +
                          " bytes; the camera takes whole 32-bit words");
    }
    const RegisterResult r = port_->Write(place.address, bytes);
    cache_.Forget(place);
    if (!r.ok()) return Done::Fail(r.reason);
    const std::string cachable = reg.Text("Cachable");
    if (cachable == "WriteThrough" || cachable.empty()) cache_.Keep(reg, place, bytes);
    Changed(reg);
    return Ok();
}

void NodeMap::Changed(const Node& node) {
    const auto it = invalidatedBy_.find(node.Name());
    if (it == invalidatedBy_.end()) return;
    for (const Node* reg : it->second)
        cache_.Forget(*reg);
}

std::optional<std::int64_t> NodeMap::LocalInt(const Node& node) const {
    const auto it = localInt_.find(&node);
    if (it != localInt_.end()) return it->second;
    return std::nullopt;
}

std::optional<double> NodeMap::LocalReal(const Node& node) const {
    const auto it = localReal_.find(&node);
    if (it != localReal_.end()) return it->second;
    return std::nullopt;
}

std::optional<std::string> NodeMap::LocalString(const Node& node) const {
    const auto it = localText_.find(&node);
    if (it != localText_.end()) return it->second;
    return std::nullopt;
}

const Node* NodeMap::Root() const {
    if (const Node* root = Find("Root"); root != nullptr && root->GetKind() == Kind::Category)
        return root;
    std::set<std::string> named;
    for (const auto& n : nodes_) {
        if (n->GetKind() != Kind::Category) continue;
        for (const Prop* p : n->All("pFeature"))
            named.insert(p->text);
    }
    for (const auto& n : nodes_) {
        if (n->GetKind() == Kind::Category && named.count(n->Name()) == 0) return n.get();
    }
    return nullptr;
}

std::vector<const Node*> NodeMap::Features(const Node& category) const {
    std::vector<const Node*> out;
    for (const Prop* p : category.All("pFeature")) {
        if (const Node* n = Find(p->text)) out.push_back(n);
    }
    return out;
}

std::vector<std::pair<const Node*, std::string>> NodeMap::Walk() const {
    std::vector<std::pair<const Node*, std::string>> out;
    const Node* root = Root();
    if (root == nullptr) return out;
    std::set<const Node*> seen;
    // An explicit stack: a deep or looping tree neither recurses nor repeats.
    std::vector<std::pair<const Node*, std::string>> stack{{root, root->Name()}};
    while (!stack.empty() && out.size() < kMaxWalk) {
        auto [node, path] = stack.back();
        stack.pop_back();
        if (!seen.insert(node).second) continue;
        if (node != root) out.emplace_back(node, path);
        if (node->GetKind() != Kind::Category) continue;
        const std::vector<const Node*> children = Features(*node);
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            const std::string at = node == root ? node->Name() : path + "/" + node->Name();
            stack.emplace_back(*it, at);
        }
    }
    return out;
}

std::vector<const Node*> NodeMap::Selected(const Node& selector) const {
    std::vector<const Node*> out;
    for (const Prop* p : selector.All("pSelected")) {
        if (const Node* n = Find(p->text)) out.push_back(n);
    }
    return out;
}

}  // namespace vk::genicam
