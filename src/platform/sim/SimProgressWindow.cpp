#include "platform/sim/SimProgressWindow.h"

#include "platform/sim/SimPlatform.h"

namespace ovrix {

bool SimProgressWindow::Open(ProgressWindowBehaviour& behaviour) {
    Close();
    behaviour_ = &behaviour;
    frame_ = {0, 0, kWidth, kHeight};
    behaviour.Start(*this);
    return true;
}

// Destroying the window gives its hotkeys and its place in the clipboard
// chain back.
void SimProgressWindow::Close() {
    behaviour_ = nullptr;
    visible_ = false;
    hotkeys_.clear();
    timerPeriodUs_ = 0;
    watching_ = false;
}

bool SimProgressWindow::PressHotkey(uint32_t modifiers, uint32_t key) {
    if (!IsOpen()) return false;
    for (const auto& [id, combination] : hotkeys_) {
        if (combination == std::make_pair(modifiers, key)) {
            behaviour_->OnHotkey(*this, id);
            return true;
        }
    }
    return false;
}

void SimProgressWindow::Tick() {
    nextTickUs_ += timerPeriodUs_;
    behaviour_->OnTimer(*this);
}

bool SimProgressWindow::JoinClipboardChain() {
    if (!IsOpen()) return false;
    watching_ = true;
    notices_ = 1;  // joining the chain brings the first notice
    return true;
}

// A combination fails when another program holds it or this window already
// has it under another id, as RegisterHotKey does.
bool SimProgressWindow::RegisterHotkey(int32_t id, uint32_t modifiers, uint32_t key) {
    const auto combination = std::make_pair(modifiers, key);
    if (platform_.takenHotkeys.count(combination) != 0) return false;
    for (const auto& [other, held] : hotkeys_) {
        if (other != id && held == combination) return false;
    }
    hotkeys_[id] = combination;
    return true;
}

void SimProgressWindow::MoveTo(ProgressCorner, Point at) {
    frame_ = {at.x, at.y, at.x + kWidth, at.y + kHeight};
}

bool SimProgressWindow::WorkArea(ScreenRect& out) {
    if (platform_.workAreaUnknown) return false;
    out = platform_.workArea;
    return true;
}

ScreenSize SimProgressWindow::FullScreenSize() { return platform_.GetScreenSize(); }

Point SimProgressWindow::CursorPos() { return platform_.GetCursorPos(); }

int32_t SimProgressWindow::MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) {
    return platform_.DoMessageBox(text, title, style);
}

std::u16string SimProgressWindow::ProgramPath() { return platform_.programPath; }

void SimProgressWindow::StartTimer(uint32_t periodMs) {
    timerPeriodUs_ = static_cast<uint64_t>(periodMs) * 1000;
    nextTickUs_ = platform_.ElapsedUs() + timerPeriodUs_;
}

}  // namespace ovrix
