#include "core/genicam/feature_rows.h"

#include <cstdio>
#include <limits>

#include "core/genicam/node_kinds.h"

namespace vk::genicam {

std::string HexText(std::uint64_t v) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(v));
    return text;
}

namespace {

void AddLimits(NodeMap& map, const Node& node, FeatureRow& row) {
    const Kind kind = node.GetKind();
    if (kind == Kind::Float) {
        const Got<RealLimits> l = node.RealRange(map.Eval());
        if (!l) return;
        row.min = RealText(l.value->min);
        row.max = RealText(l.value->max);
    } else if (kind == Kind::Integer) {
        const Got<IntLimits> l = node.Limits(map.Eval());
        if (!l) return;
        row.min = std::to_string(l.value->min);
        row.max = std::to_string(l.value->max);
    }
}

std::string Entries(NodeMap& map, const Node& node) {
    const auto* e = dynamic_cast<const EnumerationNode*>(&node);
    if (e == nullptr) return {};
    std::string text;
    for (const EnumEntry* entry : e->Entries(map.Eval())) {
        if (!text.empty()) text += ',';
        text += EnumerationNode::Symbolic(node, *entry) + '=' + std::to_string(entry->value);
    }
    return text;
}

}  // namespace

FeatureRow DescribeFeature(NodeMap& map, const Node& node, const std::string& category) {
    FeatureRow row;
    row.name = node.Name();
    row.displayName = node.DisplayName();
    row.kind = KindName(node.GetKind());
    std::string reason;
    row.access = AccessName(node.GetAccess(map.Eval(), &reason));
    row.availability = reason.empty() ? "available" : reason;
    if (const Got<RegisterPlace> place = node.Place(map.Eval())) {
        row.address = HexText(place.value->address);
        row.length = std::to_string(place.value->length);
    }
    if (node.GetKind() != Kind::Category) AddLimits(map, node, row);
    row.unit = node.Unit();
    row.entries = Entries(map, node);
    row.category = category;
    row.visibility = VisibilityName(node.GetVisibility());
    row.representation = node.Representation();
    row.toolTip = node.Text("ToolTip");
    return row;
}

std::vector<FeatureRow> ListFeatures(NodeMap& map) {
    std::vector<FeatureRow> rows;
    for (const auto& [node, path] : map.Walk()) {
        if (node->GetKind() == Kind::Category || node->GetKind() == Kind::Port) continue;
        rows.push_back(DescribeFeature(map, *node, path));
    }
    return rows;
}

Got<std::string> FeatureText(NodeMap& map, const Node& node) {
    if (node.GetKind() == Kind::Category || node.GetKind() == Kind::Command) {
        return Got<std::string>::Fail(node.Name() + " is a " + KindName(node.GetKind()) +
                                      " and has no value");
    }
    std::string reason;
    const Access access = node.GetAccess(map.Eval(), &reason);
    if (access != Access::RO && access != Access::RW) {
        return Got<std::string>::Fail(node.Name() + " cannot be read (" + AccessName(access) +
                                      (reason.empty() ? "" : ": " + reason) + ")");
    }
    return node.String(map.Eval());
}

Done SetFeatureText(NodeMap& map, const Node& node, const std::string& text) {
    if (node.GetKind() == Kind::Command) return ExecuteFeature(map, node);
    std::string reason;
    const Access access = node.GetAccess(map.Eval(), &reason);
    if (access != Access::WO && access != Access::RW) {
        return Done::Fail(node.Name() + " cannot be written (" + AccessName(access) +
                          (reason.empty() ? "" : ": " + reason) + ")");
    }
    if (node.GetKind() == Kind::Boolean) {
        if (text == "true" || text == "True" || text == "1") return node.SetInt(map.Eval(), 1);
        if (text == "false" || text == "False" || text == "0") return node.SetInt(map.Eval(), 0);
        return Done::Fail("not true or false: " + text);
    }
    return node.SetString(map.Eval(), text);
}

Done ExecuteFeature(NodeMap& map, const Node& node) {
    const auto* command = dynamic_cast<const CommandNode*>(&node);
    if (command == nullptr) return Done::Fail(node.Name() + " is no command");
    std::string reason;
    const Access access = node.GetAccess(map.Eval(), &reason);
    if (access != Access::WO && access != Access::RW) {
        return Done::Fail(node.Name() + " cannot be run (" + AccessName(access) +
                          (reason.empty() ? "" : ": " + reason) + ")");
    }
    return command->Execute(map.Eval());
}

}  // namespace vk::genicam
