// The listings that ovrix-list prints, as functions so tests can check them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ovrix {

// Settings, then each script's step tree with each step's text form.
std::string ListImage(const std::vector<uint8_t>& image);
// One line per step: script index, dotted path (from 1), type id, delay,
// disabled flag, name, text form; tab, CR and LF in texts as \t, \r, \n.
std::string ListImageTsv(const std::vector<uint8_t>& image);

}  // namespace ovrix
