// What the progress window decides, whatever desktop shows it: the script
// line with the stop hint, the two hotkeys and their conflicts, the place in
// the corner of the work area, the step aside from a resting cursor, and what
// the hotkeys do to the playback flags. The platform makes the window and
// calls in on the window's own thread; the playback thread only reads the
// flags this writes.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Input.h"
#include "platform/ProgressWindow.h"

namespace ovrix {

class ProgressWindowLogic : public ProgressWindowBehaviour {
public:
    static constexpr uint32_t kTimerPeriodMs = 500;
    // Timer ticks with the cursor on the window before it steps aside.
    static constexpr uint32_t kHoverTicks = 5;

    ProgressWindowLogic(const ProgressWindowSettings& settings, Input& input) : settings_(settings), input_(input) {}

    void Start(ProgressWindowHost& host) override;
    void OnTimer(ProgressWindowHost& host) override;
    void OnHotkey(ProgressWindowHost& host, int32_t id) override;

    // Set only by the stop hotkey.
    bool StoppedByHotkey() const { return stoppedByHotkey_.load(std::memory_order_relaxed); }

private:
    // Answers false when the stop key could not be registered.
    bool RegisterHotkeys(ProgressWindowHost& host);

    ProgressWindowSettings settings_;
    Input& input_;
    uint32_t hoverCount_ = 0;
    std::atomic<bool> stoppedByHotkey_{false};
};

// The program's file name without folder and extension.
std::u16string ProgramBaseName(std::u16string_view path);

}  // namespace ovrix
