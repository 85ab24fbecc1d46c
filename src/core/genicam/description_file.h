#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/genicam/description_parser.h"

namespace vk {

// Bigger files than this are no device description; they are refused before being read.
constexpr std::size_t kMaxDescriptionBytes = 64u << 20;

struct DescriptionText {
    bool ok = false;
    std::string text;   // the XML
    std::string error;  // why there is none
};

bool LooksLikeZip(std::span<const std::uint8_t> bytes);

// The first .xml file inside a zip archive held in memory.
DescriptionText XmlFromZip(std::span<const std::uint8_t> zip);

// The XML of a description file: the file itself, or the XML inside it when it is a zip.
DescriptionText ReadDescriptionFile(const std::string& path);

// Reads and parses a description file; the error names the file.
DescriptionParse LoadDescriptionFile(const std::string& path);

}  // namespace vk
