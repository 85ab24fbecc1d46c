#pragma once

#include <string>
#include <vector>

#include "core/genicam/node_map.h"

namespace vk::genicam {

// A feature of a node map as lists show it: every field a text, "" where it has none.
struct FeatureRow {
    std::string name;
    std::string displayName;
    std::string kind;     // Integer, Float, Boolean, Enumeration, Command, String, Register
    std::string access;   // RW, RO, WO, NA, NI
    std::string address;  // 0x... (64 bits), "" when the value lives in no one register
    std::string length;
    std::string min;
    std::string max;
    std::string unit;
    std::string entries;       // an enumeration's Symbolic=value pairs, comma-separated
    std::string category;      // the category path from the root, "Root/Sub"
    std::string availability;  // "available", or why not / what it depends on
    std::string visibility;
    std::string representation;
    std::string toolTip;
};

FeatureRow DescribeFeature(NodeMap& map, const Node& node, const std::string& category);
// Every feature reached from the root category, in the order of the tree.
std::vector<FeatureRow> ListFeatures(NodeMap& map);

// How the lists print an address: 0x... in capitals (real numbers: RealText of node.h).
std::string HexText(std::uint64_t v);

// A feature's value as text (an enumeration's symbolic name), read through the map.
Got<std::string> FeatureText(NodeMap& map, const Node& node);
// Sets a feature from text: a number, an entry name, a text; a command runs (any text).
Done SetFeatureText(NodeMap& map, const Node& node, const std::string& text);
Done ExecuteFeature(NodeMap& map, const Node& node);

}  // namespace vk::genicam
