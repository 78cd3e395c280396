// The pictures the picture-search end-to-end test looks for: patterns of
// pseudo-random colours, painted on the screen by wine_picture.cpp and held
// by the scenes' search steps and bitmap file (tests/wine/scenes; a native
// test keeps those equal to what this makes). No black, white or grey runs, so
// nothing else on a Wine desktop resembles them by chance; each seed gives
// another pattern.
#pragma once

#include <cstdint>

namespace ovrix::winetest {

inline constexpr int kPatternWidth = 32;
inline constexpr int kPatternHeight = 24;
// Where wine-picture shows the shown pattern, and the seeds of the pattern it
// shows and of one that is never shown.
inline constexpr int kPatternLeft = 500;
inline constexpr int kPatternTop = 300;
inline constexpr uint32_t kShownSeed = 1;
inline constexpr uint32_t kAbsentSeed = 2;

// The colour of pixel (x, y) as 0x00RRGGBB; each channel in 40 .. 239.
inline uint32_t PatternPixel(uint32_t seed, int x, int y) {
    uint32_t state = seed * 2654435761u + static_cast<uint32_t>(y * kPatternWidth + x) * 40503u + 1u;
    uint32_t colour = 0;
    for (int channel = 0; channel < 3; ++channel) {
        state = state * 1664525u + 1013904223u;
        state ^= state >> 13;
        colour = (colour << 8) | (40u + (state >> 24) % 200u);
    }
    return colour;
}

}  // namespace ovrix::winetest
