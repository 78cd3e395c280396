// Playing the mouse steps, and the cursor operations that the mouse
// built-in functions share with them. Buttons go through mouse_event with the
// swap-aware flags recorded at the start of playback, positions through
// SetCursorPos; coordinates are 32-bit and wrap as the processor's
// arithmetic does, so no script value can make them overflow.
#pragma once

#include <cstdint>

namespace ovrix {

struct Player;
class StepKinds;

// The cursor moved by an offset from where it is.
void MoveCursorBy(Player& player, int32_t dx, int32_t dy);

// The cursor to an absolute position: on OS 6.2 through an absolute
// mouse_event, on every other version through SetCursorPos.
void SetMousePosition(Player& player, int32_t x, int32_t y);

// The cursor to a random point of the region, its right and bottom edges
// excluded; a width or height below 1 keeps that coordinate on the edge.
void RandomMousePosition(Player& player, int32_t left, int32_t top, int64_t width, int64_t height);

// A left-button drag by an offset along a straight line; every fifth point
// of the line is shown, each followed by a wait of stepDelay ms. The button
// is always released, even when playback is stopped during the drag.
void DragMouseBy(Player& player, int32_t dx, int32_t dy, uint32_t stepDelay, uint32_t pauseArgument);

// The rows of the mouse steps.
void AddMouseSteps(StepKinds& kinds);

}  // namespace ovrix
