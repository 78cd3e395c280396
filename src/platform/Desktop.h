// Desktop: what the player's portable code acts on the desktop through. It
// hands out the platform's facets (desktop.input.MouseEvent(...),
// desktop.clock.Now()) and binds their traced calls to the action trace, so
// the real player and the simulated desktop trace the same actions in the
// same words. It forwards nothing itself: a new desktop call is added to its
// facet (Facet.h), never here.
//
// The progress window runs on a thread of its own on the real desktop, and
// traces from there too: trace lines are written under a lock. One Desktop
// at a time plays on a platform.
#pragma once

#include <cstdint>
#include <mutex>
#include <string_view>

#include "platform/Platform.h"
#include "platform/Trace.h"

namespace ovrix {

class Desktop final : public EventTracer {
public:
    Desktop(Platform& platform, Trace trace);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    Clock& clock;
    Input& input;
    Screen& screen;
    Clipboard& clipboard;
    Dialogs& dialogs;
    Files& files;
    ImageFiles& images;
    System& system;
    Windows& windows;
    ProgressWindow& progress;
    ScriptWindows& scriptWindows;
    Automation& automation;
    Registry& registry;
    Web& web;
    Sound& sound;
    Processes& processes;
    Databases& databases;
    CodePage& codePage;

    // Trace times count from the desktop's creation, and again from the
    // beginning of playback.
    void BeginTrace() { trace_.SetOrigin(clock.TraceClock()); }
    void TraceEvent(std::string_view event, std::string_view args = {}) override;
    bool Tracing() const override { return trace_.Enabled(); }

private:
    void BindTracer(EventTracer* tracer);

    Trace trace_;
    std::mutex traceMutex_;
};

}  // namespace ovrix
