#include "shell/ProgressWindowLogic.h"

#include "engine/PlaybackFlags.h"
#include "engine/Hotkeys.h"
#include "platform/Dialogs.h"

namespace ovrix {

namespace {

std::u16string ConflictText(const std::u16string& name) { return u"Hotkey '" + name + u"' conflict!"; }

}  // namespace

std::u16string ProgramBaseName(std::u16string_view path) {
    const size_t slash = path.rfind(u'\\');
    std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind(u'.');
    if (dot != std::u16string_view::npos) name = name.substr(0, dot);
    return std::u16string(name);
}

void ProgressWindowLogic::Start(ProgressWindowHost& host) {
    // A stop key that another program holds ends playback at once; the
    // window then neither takes a pause key nor watches the cursor.
    if (RegisterHotkeys(host)) host.StartTimer(kTimerPeriodMs);
    PlaceInCorner(host, ProgressCorner::BottomRight);
    if (settings_.startHidden == 0) host.Show(true);
}

bool ProgressWindowLogic::RegisterHotkeys(ProgressWindowHost& host) {
    if (settings_.noStopKey != 0) {
        host.SetScriptLine(ProgramBaseName(host.ProgramPath()));
    } else {
        const Hotkey stop = GetHotkey(settings_, u"HK_StopRun", {113, kHotkeyShift});
        const std::u16string name = HotkeyDisplayName(input_, stop);
        host.SetScriptLine(u"Press " + name + u" to Stop");
        if (!host.RegisterHotkey(kStopHotkeyId, HotkeyModifierFlags(stop.modifiers), stop.key)) {
            host.MessageBox(ConflictText(name), kAppTitle, kMbOk);
            SetFlag(StopRequest);
            return false;
        }
    }
    if (settings_.noPauseKey == 0) {
        const Hotkey pause = GetHotkey(settings_, u"HK_PauseRun", {80, kHotkeyCtrl});
        if (!host.RegisterHotkey(kPauseHotkeyId, HotkeyModifierFlags(pause.modifiers), pause.key)) {
            host.MessageBox(ConflictText(HotkeyDisplayName(input_, pause)), kAppTitle, kMbOk);
        }
    }
    return true;
}


// A cursor that rests on the window for 2.5 s sends it to the bottom-left
// corner; touching it there sends it straight back.
void ProgressWindowLogic::OnTimer(ProgressWindowHost& host) {
    const ScreenRect frame = host.Frame();
    if (!frame.Contains(host.CursorPos())) {
        hoverCount_ = 0;
        return;
    }
    ++hoverCount_;
    if (frame.left == 0) {
        PlaceInCorner(host, ProgressCorner::BottomRight);
        hoverCount_ = 0;
    } else if (hoverCount_ >= kHoverTicks) {
        PlaceInCorner(host, ProgressCorner::BottomLeft);
        hoverCount_ = 0;
    }
}

void ProgressWindowLogic::OnHotkey(ProgressWindowHost& host, int32_t id) {
    if (id == kStopHotkeyId) {
        stoppedByHotkey_.store(true, std::memory_order_relaxed);
        SetFlag(StopRequest);
    } else if (id == kPauseHotkeyId) {
        const bool pausing = !IsSet(PauseRequest);
        SetFlag(PauseRequest, pausing ? 1 : 0);
        // A window that starts hidden may show itself only for the pause.
        if (settings_.startHidden != 0 && settings_.showWhenPaused != 0) host.Show(pausing);
    }
}

}  // namespace ovrix
