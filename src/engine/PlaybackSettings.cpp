#include "engine/PlaybackSettings.h"

#include "container/Tags.h"

namespace ovrix {

PlaybackSettings PlaybackSettings::Read(Region image) {
    PlaybackSettings s;
    s.window.noStopKey = ReadU32(image, tag::kNoStopKey, 0);
    s.window.noPauseKey = ReadU32(image, tag::kNoPauseKey, 0);
    s.window.stopKey = ReadU32(image, tag::kStopKey, 113);
    s.window.stopModifiers = ReadU32(image, tag::kStopModifiers, 1);
    s.window.pauseKey = ReadU32(image, tag::kPauseKey, 80);
    s.window.pauseModifiers = ReadU32(image, tag::kPauseModifiers, 2);
    s.window.startHidden = ReadU32(image, tag::kStartHidden, 0);
    s.window.showWhenPaused = ReadU32(image, tag::kShowWhenPaused, 1);
    s.runTimeMs = ReadI64(image, tag::kRunTime, 0);
    s.repeat = ReadU32(image, tag::kRepeat, 1);
    return s;
}

}  // namespace ovrix
