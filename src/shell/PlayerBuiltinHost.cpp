#include "shell/PlayerBuiltinHost.h"

#include "actions/KeyboardActions.h"
#include "actions/MouseActions.h"
#include "engine/Context.h"
#include "engine/Playback.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"
#include "expr/Variables.h"
#include "shell/ClipboardWatch.h"

namespace ovrix {

namespace {

const ArgumentList* CurrentArguments() {
    const Context* top = ThreadPlayerState().Top();
    return top != nullptr ? top->arguments : nullptr;
}

}  // namespace

PlayerBuiltinHost::PlayerBuiltinHost(Player& player)
    : player_(player), previous_(SetBuiltinHost(this)), title_(kDefaultScriptTitle) {}

PlayerBuiltinHost::~PlayerBuiltinHost() { SetBuiltinHost(previous_); }

Desktop& PlayerBuiltinHost::GetDesktop() { return player_.desktop; }

// The innermost running loop publishes its index in the run's variables.
double PlayerBuiltinHost::CurrentLoopIndex() {
    const PExprItem index = FindVariable(u"@CurLoopIndex");
    return index.HasValue() ? index->GetNumber() : 0.0;
}

uint32_t PlayerBuiltinHost::CurrentRepeat() { return player_.passCounter; }

size_t PlayerBuiltinHost::ScriptArgCount() {
    const auto* arguments = CurrentArguments();
    return arguments != nullptr ? arguments->size() : 0;
}

PExprItem PlayerBuiltinHost::ScriptArg(size_t index) {
    const auto* arguments = CurrentArguments();
    if (arguments == nullptr || index >= arguments->size()) return {};
    return (*arguments)[index];
}

std::vector<std::u16string> PlayerBuiltinHost::CommandLineArgs() { return player_.arguments; }

PictureRect PlayerBuiltinHost::LastPictureRect() {
    const ScreenRect& r = player_.runtime.lastPictureRect;
    return {r.left, r.top, r.right, r.bottom};
}

void PlayerBuiltinHost::Wait(uint32_t ms) { PlaybackWait(player_, ms, 0, kWaitSlice); }

bool PlayerBuiltinHost::StopRequested() { return IsSet(StopRequest); }

void PlayerBuiltinHost::SetStatusLine(std::u16string_view text) {
    player_.desktop.progress.SetLine(ProgressLine::Status, text);
}

void PlayerBuiltinHost::ShowStepText() {
    if (const Context* top = ThreadPlayerState().Top()) ovrix::ShowStepText(player_, *top);
}

std::u16string PlayerBuiltinHost::WaitClipboardChange(uint32_t timeoutMs) {
    return ovrix::WaitClipboardChange(player_, timeoutMs);
}

void PlayerBuiltinHost::MoveCursorBy(double dx, double dy) {
    ovrix::MoveCursorBy(player_, TruncateToInt32(dx), TruncateToInt32(dy));
}

void PlayerBuiltinHost::SetCursorPosition(double x, double y) {
    SetMousePosition(player_, TruncateToInt32(x), TruncateToInt32(y));
}

void PlayerBuiltinHost::RandomCursorPosition(double x, double y, double width, double height) {
    RandomMousePosition(player_, TruncateToInt32(x), TruncateToInt32(y), TruncateToInt32(width),
                        TruncateToInt32(height));
}

void PlayerBuiltinHost::DragCursorBy(double dx, double dy, double stepDelay) {
    const int32_t delay = TruncateToInt32(stepDelay);
    DragMouseBy(player_, TruncateToInt32(dx), TruncateToInt32(dy), delay > 0 ? delay : 0, 0);
}

void PlayerBuiltinHost::SendKey(double vk, bool up) {
    ovrix::SendKey(player_.desktop, static_cast<uint8_t>(TruncateToInt32(vk)), up);
}

void PlayerBuiltinHost::TypeText(std::u16string_view text, bool paste) { ovrix::TypeText(player_.desktop, text, paste); }

}  // namespace ovrix
