// The program-wide playback flags. The progress window's thread writes stop
// and pause from its hotkeys; the playback thread reads them in every wait
// slice. Whole-word writes and reads, so relaxed order is enough.
#pragma once

#include <atomic>
#include <cstdint>

namespace ovrix {

extern std::atomic<uint32_t> StopRequest;
extern std::atomic<uint32_t> PauseRequest;
extern std::atomic<uint32_t> ResetRequest;

inline bool IsSet(const std::atomic<uint32_t>& flag) { return flag.load(std::memory_order_relaxed) != 0; }
inline void SetFlag(std::atomic<uint32_t>& flag, uint32_t value = 1) {
    flag.store(value, std::memory_order_relaxed);
}

}  // namespace ovrix
