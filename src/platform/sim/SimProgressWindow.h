// The simulated desktop's progress window: it does what the portable logic
// asks (hotkeys, place, visibility, timer, clipboard chain) and remembers
// it for tests, which press its hotkeys and whose virtual time makes its
// timer tick. Everything runs on the one simulation thread: what the real
// window's thread would do happens inside SimPlatform::Advance or a test's
// call.
#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <utility>

#include "platform/Platform.h"

namespace ovrix {

class SimPlatform;

class SimProgressWindow : public ProgressWindowHost {
public:
    // The template's 147 x 48 dialog units with the usual 8-point dialog font.
    static constexpr int32_t kWidth = 220;
    static constexpr int32_t kHeight = 78;
    static constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();

    explicit SimProgressWindow(SimPlatform& platform) : platform_(platform) {}

    bool Open(ProgressWindowBehaviour& behaviour);
    void Close();
    bool IsOpen() const { return behaviour_ != nullptr; }
    bool Visible() const { return visible_; }

    // Delivers the hotkey registered for these RegisterHotKey modifiers and
    // key; false when the window holds no such hotkey.
    bool PressHotkey(uint32_t modifiers, uint32_t key);

    // Virtual time of the next timer tick, and the tick itself.
    uint64_t NextTickUs() const { return IsOpen() && timerPeriodUs_ != 0 ? nextTickUs_ : kNever; }
    void Tick();

    bool JoinClipboardChain();
    void LeaveClipboardChain() { watching_ = false; }
    uint32_t ClipboardNotices() const { return notices_; }
    void NoticeClipboardChange() {
        if (watching_) ++notices_;
    }

    bool RegisterHotkey(int32_t id, uint32_t modifiers, uint32_t key) override;
    ScreenRect Frame() override { return frame_; }
    void MoveTo(ProgressCorner, Point at) override;
    void Show(bool visible) override { visible_ = visible; }
    bool WorkArea(ScreenRect& out) override;
    ScreenSize FullScreenSize() override;
    Point CursorPos() override;
    int32_t MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) override;
    std::u16string ProgramPath() override;
    void SetScriptLine(std::u16string_view) override {}
    void StartTimer(uint32_t periodMs) override;

private:
    SimPlatform& platform_;
    ProgressWindowBehaviour* behaviour_ = nullptr;
    ScreenRect frame_;
    bool visible_ = false;
    std::map<int32_t, std::pair<uint32_t, uint32_t>> hotkeys_;  // id -> modifiers, key
    uint64_t timerPeriodUs_ = 0;
    uint64_t nextTickUs_ = 0;
    bool watching_ = false;
    uint32_t notices_ = 0;
};

}  // namespace ovrix
