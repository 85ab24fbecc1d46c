#include "core/genicam/description_file.h"

// Builds without an XML parser and zip support (the Windows cross build: Debian has
// neither for mingw) read no descriptions; a download still saves the file.
namespace vk {

DescriptionParse LoadDescriptionFile(const std::string& path) {
    DescriptionParse parse;
    parse.error = "Cannot read the device description " + path +
                  ": this build reads no device descriptions (built without XML and zip "
                  "support)";
    return parse;
}

}  // namespace vk
