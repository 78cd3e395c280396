#include "engine/PlaybackFlags.h"

namespace ovrix {

std::atomic<uint32_t> StopRequest{0};
std::atomic<uint32_t> PauseRequest{0};
std::atomic<uint32_t> ResetRequest{0};

}  // namespace ovrix
