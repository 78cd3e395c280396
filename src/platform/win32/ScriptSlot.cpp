// The slot itself: one 10 MiB read-only array in a section of its own,
// ".ovrix", where the editor and the tools find it (by the marker in an
// unfilled player, by the section in a filled one). The array keeps its
// marker, size and alignment in every build: it is `used`, so neither the
// compiler nor the linker drops it, and it is read only through a volatile
// pointer, so the optimiser cannot fold its compile-time content (a zero
// length) into the code: what counts is what the file holds at run time.
#include "platform/win32/ScriptSlot.h"

#include <cstdint>
#include <span>

#include "container/Image.h"

namespace ovrix::win32 {

namespace {

// The marker's bytes come from kSlotMarker at compile time; the marker does
// not otherwise reach the executable, so it occurs there exactly once.
__attribute__((section(".ovrix"), used, aligned(4))) const uint8_t kScriptSlot[kSlotSize] = {
    kSlotMarker[0],  kSlotMarker[1],  kSlotMarker[2],  kSlotMarker[3],  kSlotMarker[4],  kSlotMarker[5],
    kSlotMarker[6],  kSlotMarker[7],  kSlotMarker[8],  kSlotMarker[9],  kSlotMarker[10], kSlotMarker[11],
    kSlotMarker[12], kSlotMarker[13], kSlotMarker[14], kSlotMarker[15]};

const uint8_t* const volatile kSlotAddress = kScriptSlot;

}  // namespace

Region ImageInSlot() {
    const uint8_t* slot = kSlotAddress;
    return ImageFromSlot(std::span<const uint8_t>(slot, kSlotSize));
}

}  // namespace ovrix::win32
