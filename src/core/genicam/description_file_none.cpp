#include "core/genicam/description_file.h"

// Builds without an XML parser and zip support (the Windows cross build: Debian has
// neither for mingw) read no descriptions; a download still saves the file.
namespace vk {
namespace {

std::string NoSupport(const std::string& what) {
    return "Cannot read the device description" + what +
           ": this build reads no device descriptions (built without XML and zip support)";
}

}  // namespace

bool LooksLikeZip(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 4 && bytes[0] == 'P' && bytes[1] == 'K' && bytes[2] == 3 &&
           bytes[3] == 4;
}

DescriptionText XmlFromZip(std::span<const std::uint8_t>) {
    return {false, {}, NoSupport("")};
}

DescriptionText ReadDescriptionFile(const std::string& path) {
    return {false, {}, NoSupport(" " + path)};
}

DescriptionParse LoadDescriptionFile(const std::string& path) {
    DescriptionParse parse;
    parse.error = NoSupport(" " + path);
    return parse;
}

}  // namespace vk
