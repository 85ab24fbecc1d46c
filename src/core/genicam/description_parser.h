#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/genicam/feature_table.h"

namespace vk {

struct DescriptionParse {
    bool ok = false;
    std::string error;  // why the text gave no table
    FeatureTable table;
    std::vector<std::string> notes;  // what was left out (each limit named once)
};

// Reads a GenICam device description into the feature table: categories and the StringReg,
// Integer, Float, Enumeration, Boolean and Command features, each with the register its
// pValue names wherever that stands in the file. A feature without a register is left out.
DescriptionParse ParseDescription(std::string_view xml);

}  // namespace vk
