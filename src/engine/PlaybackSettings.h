// The playback settings an image carries, read with their defaults.
#pragma once

#include <cstdint>

#include "container/Container.h"
#include "platform/Platform.h"

namespace ovrix {

constexpr uint32_t kRepeatByTime = 0xFFFFFFFF;

struct PlaybackSettings {
    ProgressWindowSettings window;
    int64_t runTimeMs = 0;     // 'RTM', used only when repeat is kRepeatByTime
    uint32_t repeat = 1;       // 'REP'

    static PlaybackSettings Read(Region image);
};

}  // namespace ovrix
