#include "engine/Playback.h"

#include "engine/ExecuteStep.h"
#include "engine/FlowActions.h"
#include "engine/FunctionSteps.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "builtins/Registry.h"
#include "engine/ScriptFunctions.h"
#include "engine/StepTree.h"
#include "expr/Variables.h"
#include "script/Event.h"
#include "engine/Hotkeys.h"
#include "script/StepKinds.h"

namespace ovrix {

namespace {

constexpr uint32_t kDisplayInterval = 50;
constexpr uint32_t kBreather = 10;
constexpr size_t kScriptLineLimit = 32;

// "In <file name>", cut to its first 32 characters followed by "...".
std::u16string ScriptLineText(const std::u16string& path) {
    const size_t slash = path.rfind(u'\\');
    std::u16string text = u"In " + (slash == std::u16string::npos ? path : path.substr(slash + 1));
    if (text.size() > kScriptLineLimit) text = text.substr(0, kScriptLineLimit) + u"...";
    return text;
}

// Pops the run's own Context together with any that a run stopped before
// its first step left above it.
void PopContext(const Context* context) {
    auto& stack = ThreadPlayerState().stack;
    while (!stack.empty()) {
        const bool own = stack.back().get() == context;
        stack.pop_back();
        if (own) break;
    }
}

// PlayStep with the installed runtime at hand: the run loop finds it once for
// the run, since a step that installs another restores it before it ends.
int32_t PlayIn(Runtime& runtime, Player& player, Event& step, const StepKind* kind, StepPath& jump,
               uint32_t pauseArgument, Context& context) {
    jump.clear();
    if (step.disabled != 0) return 0;
    runtime.statusIsDefault = true;  // "Step Complete" again, written when read
    // Kinds without a play function (labels, comments, custom functions,
    // function ends) and unknown ids do nothing and take no delay.
    if (kind == nullptr || kind->play == nullptr) return 0;
    return kind->play(StepRun{player, context, step, jump, pauseArgument});
}

void PlaySteps(Player& player, Context& context) {
    Desktop& desktop = player.desktop;
    const EventList& list = *context.list;
    StepPath& path = context.path;
    StepPath jump;
    const StepKinds& kinds = CurrentStepKinds();
    Runtime& runtime = ActiveRuntime();
    ResetPath(list, path);
    StepCursor cursor(list, path);
    uint32_t lastDisplay = 0;
    while (!path.empty() && !IsSet(StopRequest)) {
        Event* step = cursor.Current();
        if (step == nullptr) break;
        const uint32_t type = step->TypeId();
        const StepKind* kind = kinds.Find(type);
        if (kind != nullptr && kind->unseen) {  // no display, no delay
            cursor.AdvancePast(*step);
            continue;
        }
        if (type == FunStartEvent::kTypeId) {  // a function body is played only when called
            StepPath next = path;
            ++next[0];
            cursor.JumpTo(next);
            continue;
        }
        if (step->disabled != 0) {  // its children are still played
            cursor.AdvancePast(*step);
            continue;
        }
        bool refreshed = false;
        const uint32_t now = desktop.clock.TickCount();
        if (now - lastDisplay > kDisplayInterval) {
            refreshed = true;
            lastDisplay = now;
            ShowStepText(player, context);
        } else if (step->delay > 0) {
            ShowStepText(player, context);
        }
        const uint32_t delay = step->delay;
        if (PlayIn(runtime, player, *step, kind, jump, 0, context) == -1 || IsSet(ResetRequest)) break;
        if (jump.empty()) {
            cursor.AdvancePast(*step);
        } else if (jump[0] == -1) {
            path.clear();
        } else {
            cursor.JumpTo(jump);
        }
        // Zero-delay steps: a short breather after each display keeps the
        // window responsive while tight loops still run fast.
        if (refreshed && delay == 0) PlaybackWait(player, kBreather, 0, kWaitSlice);
    }
}

// The mouse steps read the button mapping, the screen and the system version
// once per playback.
void RecordMouseState(Player& player) {
    Desktop& desktop = player.desktop;
    MouseState& mouse = player.mouse;
    const bool swapped = desktop.input.ButtonsSwapped();
    mouse.leftDown = swapped ? 0x0008 : 0x0002;
    mouse.leftUp = swapped ? 0x0010 : 0x0004;
    mouse.rightDown = swapped ? 0x0002 : 0x0008;
    mouse.rightUp = swapped ? 0x0004 : 0x0010;
    mouse.screen = desktop.screen.GetScreenSize();
    mouse.os = desktop.system.GetOsVersion();
}

}  // namespace

int32_t PlayStep(Player& player, Event& step, const StepKind* kind, StepPath& jump, uint32_t pauseArgument,
                 Context& context) {
    return PlayIn(ActiveRuntime(), player, step, kind, jump, pauseArgument, context);
}

void BeginPlayback(Player& player, std::unique_ptr<ProgressWindowBehaviour> progressWindow) {
    SetFlag(StopRequest, 0);
    SetFlag(PauseRequest, 0);
    ClearContextStack();
    ThreadPlayerState().mainThread = 1;
    ClearProgramVariables();
    StartFunctionModules();
    AdvancePlaybackSerial();  // call nodes look their script functions up again
    ActiveRuntime().lastPictureRect = {-1, -1, -1, -1};
    RecordMouseState(player);
    player.desktop.BeginTrace();
    player.desktop.progress.Open(std::move(progressWindow));
}

void EndPlayback(Player& player) {
    // Script-made windows go first: their handlers play on this playback.
    player.desktop.scriptWindows.DestroyAll();
    ClearContextStack();
    ClearProgramVariables();
    StopFunctionModules();
    player.desktop.progress.Close();
    SetFlag(StopRequest);
    player.desktop.TraceEvent("end");
}

std::u16string StepDisplayText(const StepPath& path, const Event& step) {
    return u"Step " + StepNumberText(path) + u": " + (step.name.empty() ? step.GetText() : step.name);
}

void ShowStepText(Player& player, const Context& context) {
    const Event* step = EventAt(*context.list, context.path);
    if (step == nullptr) return;
    player.desktop.progress.SetLine(ProgressLine::Step, StepDisplayText(context.path, *step));
    player.desktop.progress.SetLine(ProgressLine::Status, u"");
}

void RunEventList(Player& player, EventList& list, const ArgumentList* arguments, int nested,
                  const Context::Control* control) {
    ScriptReturnValue() = PExprItem();  // a Return of an earlier run is not this run's result
    Desktop& desktop = player.desktop;
    const bool showsScript = nested == 0;
    std::u16string savedScriptLine;
    if (showsScript) {
        savedScriptLine = desktop.progress.GetLine(ProgressLine::Script);
        const auto known = player.scriptPaths.find(&list);
        if (known != player.scriptPaths.end()) {
            desktop.progress.SetLine(ProgressLine::Script, ScriptLineText(known->second));
        }
    }
    PlayerThreadState& state = ThreadPlayerState();
    Context* caller = state.Top();
    state.stack.push_back(
        std::make_unique<Context>(static_cast<int32_t>(state.stack.size()), list, arguments, caller));
    Context& context = *state.stack.back();
    if (IsSet(StopRequest)) return;  // the Context stays until the stack is cleared
    {
        CurrentFrameScope scope(context.frame);
        if (control != nullptr && *control) (*control)(context);
        PrepareRun(context);
        PlaySteps(player, context);
    }
    PopContext(&context);
    if (showsScript) desktop.progress.SetLine(ProgressLine::Script, savedScriptLine);
}

std::u16string& StatusText() {
    Runtime& runtime = ActiveRuntime();
    if (runtime.statusIsDefault) {
        runtime.statusText = kStepComplete;
        runtime.statusIsDefault = false;
    }
    return runtime.statusText;
}

void FinishStep(Player& player, const Event& step, std::optional<std::u16string_view> status, uint32_t pauseArgument) {
    if (status) {
        Runtime& runtime = ActiveRuntime();
        runtime.statusText = *status;
        runtime.statusIsDefault = false;
    }
    if (step.delay == 0) return;  // a wait of 0 neither pumps nor pauses
    player.desktop.progress.SetLine(ProgressLine::Status, StatusText());
    PlaybackWait(player, step.delay, pauseArgument, kWaitSlice);
}

void PlaybackWait(Player& player, uint32_t ms, uint32_t pauseArgument, uint32_t slice,
                  const std::atomic<uint32_t>* stopFlag) {
    Desktop& desktop = player.desktop;
    if (slice == 0) {
        desktop.clock.Sleep(ms);
        CheckPause(player, pauseArgument);
        return;
    }
    if (ms == 0) return;
    const uint32_t step = ms < slice ? ms : slice;
    for (uint64_t elapsed = 0; elapsed < ms; elapsed += step) {
        if (stopFlag != nullptr && IsSet(*stopFlag)) return;
        desktop.clock.PumpMessages();
        desktop.clock.Sleep(step);
        CheckPause(player, pauseArgument);
    }
}

void CheckPause(Player& player, uint32_t pauseArgument) {
    if (IsSet(StopRequest) || pauseArgument != 0 || !IsSet(PauseRequest)) return;
    Desktop& desktop = player.desktop;
    const Point cursor = desktop.input.GetCursorPos();
    const std::u16string stepLine = desktop.progress.GetLine(ProgressLine::Step);
    const std::u16string statusLine = desktop.progress.GetLine(ProgressLine::Status);
    const Hotkey pauseKey = GetHotkey(player.settings.window, u"HK_PauseRun", {80, kHotkeyCtrl});
    desktop.progress.SetLine(ProgressLine::Status,
                    u"Paused, Press " + HotkeyDisplayName(desktop.input, pauseKey) + u" to Continue");
    while (IsSet(PauseRequest)) {
        if (IsSet(StopRequest)) return;
        desktop.clock.PumpMessages();
        desktop.clock.Sleep(kWaitSlice);
    }
    desktop.progress.SetLine(ProgressLine::Step, stepLine);
    desktop.progress.SetLine(ProgressLine::Status, statusLine);
    desktop.input.SetCursorPos(cursor.x, cursor.y);
}

}  // namespace ovrix
