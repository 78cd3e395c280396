// The default demo image that the README's first command plays.
#pragma once

#include <cstdint>
#include <vector>

namespace ovrix {

std::vector<uint8_t> BuildDemoImage();

}  // namespace ovrix
