// Prints every feature of a description as the node map reads it from a register memory:
// name, kind, access, min, max, entries, value; tab-separated, "!" before a failure.
//   genicam_dump DESCRIPTION.xml MEMORY.mem
// MEMORY lines: an address and the bytes there in hex ("0x8000 00050000"); # starts a comment.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "core/genicam/feature_rows.h"
#include "core/genicam/node_kinds.h"
#include "core/genicam/node_map.h"
#include "support/memory_register_port.h"

namespace {

using namespace vk;
using namespace vk::genicam;

using MemoryPort = vk::test::MemoryRegisterPort;

bool LoadMemory(const std::string& path, MemoryPort& port) {
    std::ifstream in(path);
    if (!in) return false;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string address, hex;
        if (!(words >> address >> hex)) continue;
        std::uint64_t at = std::stoull(address, nullptr, 0);
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            port.bytes[at++] = static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16));
    }
    return true;
}

std::string Value(NodeMap& map, const Node& node) {
    if (node.GetKind() == Kind::Enumeration) {
        const Got<std::int64_t> v = node.Int(map.Eval());
        if (!v) return "!" + v.reason;
        for (const EnumEntry& e : node.entries) {
            if (e.value == *v) return e.name;
        }
        return "!no entry";
    }
    const Got<std::string> v = FeatureText(map, node);
    return v ? *v : "!" + v.reason;
}

std::string EntryNames(NodeMap& map, const Node& node) {
    const auto* e = dynamic_cast<const EnumerationNode*>(&node);
    if (e == nullptr) return {};
    std::string text;
    for (const EnumEntry* entry : e->Entries(map.Eval()))
        text += (text.empty() ? "" : ",") + entry->name;
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: genicam_dump DESCRIPTION.xml MEMORY.mem\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string xml{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string error;
    std::unique_ptr<NodeMap> map = BuildNodeMap(xml, error);
    MemoryPort port;
    if (!map || !LoadMemory(argv[2], port)) {
        std::cerr << "genicam_dump: " << (map ? std::string("no memory file") : error) << '\n';
        return 1;
    }
    map->SetPort(&port);
    for (const FeatureRow& row : ListFeatures(*map)) {
        const Node& node = *map->Find(row.name);
        std::cout << row.name << '\t' << row.kind << '\t' << row.access << '\t' << row.min << '\t'
                  << row.max << '\t' << EntryNames(*map, node) << '\t' << Value(*map, node) << '\n';
    }
    return 0;
}
