// Parse and build the node map of a 1 MB description: the standard-style simulated one with
// its features copied under new names until the file is that big. The limit is the time
// a 115200 bit/s line needs to bring the file.
#include <cstdio>
#include <string>

#include "bench_support.h"
#include "core/genicam/node_map.h"
#include "sim/description_standard.h"

namespace {

constexpr std::size_t kTarget = 1 << 20;
constexpr std::uint32_t kBaud = 115200;
constexpr int kRepeats = 5;

// Copies of the description's nodes, every Name suffixed by the copy's number (their
// references still name the first copy's nodes, which is all a build needs).
std::string BigDescription() {
    const std::string one = vk::sim::StandardDescriptionXml();
    const std::size_t open = one.find('>', one.find("<RegisterDescription")) + 1;
    const std::size_t close = one.rfind("</RegisterDescription>");
    const std::string body = one.substr(open, close - open);
    std::string out = one.substr(0, open);
    for (int copy = 0; out.size() < kTarget; ++copy) {
        std::string part = body;
        const std::string suffix = "_" + std::to_string(copy);
        std::string renamed;
        for (std::size_t i = 0; i < part.size(); ++i) {
            renamed += part[i];
            const bool nameEnd = part[i] == '"' && i > 5 && part.compare(i - 5, 5, "Name=") == 0;
            if (nameEnd) {
                const std::size_t q = part.find('"', i + 1);
                renamed += part.substr(i + 1, q - i - 1) + suffix;
                i = q - 1;
            }
        }
        out += renamed;
    }
    return out + "</RegisterDescription>\n";
}

}  // namespace

int main() {
    const std::string xml = BigDescription();
    vk::bench::Stopwatch watch;
    std::size_t nodes = 0;
    for (int i = 0; i < kRepeats; ++i) {
        std::string error;
        const auto map = vk::genicam::BuildNodeMap(xml, error);
        if (!map) {
            std::fprintf(stderr, "node_map_build: %s\n", error.c_str());
            return 1;
        }
        nodes = map->Nodes().size();
    }
    vk::bench::Report("node_map_build", watch,
                      kRepeats * vk::bench::LineSeconds(xml.size(), kBaud));
    std::fprintf(stderr, "node_map_build: %zu bytes, %zu nodes each time\n", xml.size(), nodes);
    return 0;
}
