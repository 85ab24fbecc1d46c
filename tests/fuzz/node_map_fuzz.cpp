// A description built into a node map, every feature listed and read from a memory that
// answers every read with the input's bytes: no input may crash, hang or run away.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/genicam/feature_rows.h"
#include "core/genicam/node_map.h"

namespace {

class EchoPort : public vk::RegisterPort {
public:
    explicit EchoPort(std::string_view bytes) : bytes_(bytes) {}
    vk::RegisterResult Read(std::uint64_t address, std::uint32_t length) override {
        vk::RegisterResult r;
        if ((address & 0xF) != 0xF) r.status = vk::ExchangeStatus::Ok;  // now and then a refusal
        for (std::uint32_t i = 0; r.ok() && i < length; ++i)
            r.bytes.push_back(bytes_.empty() ? 0 : bytes_[(address + i) % bytes_.size()]);
        return r;
    }
    vk::RegisterResult Write(std::uint64_t, const std::vector<std::uint8_t>&) override {
        return vk::RegisterResult::Success();
    }

private:
    std::string_view bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    std::unique_ptr<vk::genicam::NodeMap> map = vk::genicam::BuildNodeMap(text, error);
    if (!map) return 0;
    EchoPort port(text);
    map->SetPort(&port);
    for (const vk::genicam::FeatureRow& row : vk::genicam::ListFeatures(*map)) {
        const vk::genicam::Node* node = map->Find(row.name);
        vk::genicam::FeatureText(*map, *node);
        vk::genicam::SetFeatureText(*map, *node, "1");
    }
    return 0;
}
