// A device description: the XML itself, or a zip that should hold it.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "core/genicam/description_file.h"
#include "core/genicam/description_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (vk::LooksLikeZip(bytes)) {
        vk::XmlFromZip(bytes);
        return 0;
    }
    const vk::DescriptionParse parse =
        vk::ParseDescription(std::string_view(reinterpret_cast<const char*>(data), size));
    if (parse.ok && parse.table.records.size() > 5000) std::abort();
    return 0;
}
