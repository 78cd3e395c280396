// The system and file steps act through the desktop and never evaluate an
// expression. A failed copy, delete or shutdown only changes the status
// text: playback always goes on.
#include "actions/SystemActions.h"

#include <cstdio>
#include <string>

#include "actions/ShutdownCountdown.h"
#include "actions/SystemSteps.h"
#include "builtins/BuiltinHost.h"
#include "container/Text.h"
#include "engine/ExecuteStep.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "script/StepKinds.h"

namespace ovrix {

namespace {

constexpr int32_t kShowNormal = 5;
constexpr int32_t kShowMaximized = 3;
constexpr int32_t kShowMinimized = 2;
constexpr int32_t kShowHidden = 0;

// Information icon, OK button, brought to the foreground and kept on top.
constexpr uint32_t kScriptMessageStyle = 0x50040;

constexpr uint32_t kFileNotFound = 2;
constexpr int64_t kWaitChunkMs = 1000;

Desktop& DesktopOf(const StepRun& run) { return run.player.desktop; }

void SetStatus(const StepRun& run, std::u16string_view text) {
    DesktopOf(run).progress.SetLine(ProgressLine::Status, text);
}

// The plain delay wait: the step's delay without touching the status line.
void WaitDelay(const StepRun& run) { run.Wait(run.step.delay); }

// Window styles are compared with case: "Max" is not "max".
int32_t ShowCommandOf(std::u16string_view style) {
    if (style == u"max") return kShowMaximized;
    if (style == u"min") return kShowMinimized;
    if (style == u"hidden") return kShowHidden;
    return kShowNormal;
}

void OpenFile(const StepRun& run) {
    const auto& step = static_cast<const OpenFileEvent&>(run.step);
    if (step.advanced == 0) {
        DesktopOf(run).system.ShellExecute(u"open", step.file, u"", kShowNormal);
    } else {
        DesktopOf(run).system.ShellExecute(u"open", step.file, step.parameters, ShowCommandOf(step.windowStyle));
    }
    run.Finish();
}

void OpenWeb(const StepRun& run) {
    const auto& step = static_cast<const OpenWebEvent&>(run.step);
    DesktopOf(run).system.ShellExecute(u"open", step.address, u"", kShowNormal);
    run.Finish();
}

// A copy or delete answered `error` (0 for success).
void FinishFileStep(const StepRun& run, uint32_t error) {
    if (error == 0) {
        run.Finish();
        return;
    }
    if (run.step.delay > 0) SetStatus(run, error == kFileNotFound ? u"Fild not found!" : u"Failed!");
    WaitDelay(run);
}

// The script's default title, which the built-in host keeps while playback
// runs; without a host, the title playback starts with.
std::u16string ScriptTitle() {
    BuiltinHost* host = GetBuiltinHost();
    return host != nullptr ? host->DefaultTitle() : std::u16string(kDefaultScriptTitle);
}

void ShowMessage(const StepRun& run) {
    const auto& step = static_cast<const MsgBoxEvent&>(run.step);
    DesktopOf(run).dialogs.MessageBox(step.message, ScriptTitle(), kScriptMessageStyle);
    run.Finish();
}

void Shutdown(const StepRun& run) {
    const auto& step = static_cast<const ShutdownEvent&>(run.step);
    if (step.showCountdown != 0) {
        // The dialog keeps the seconds as a signed count, as they are shown.
        ShutdownCountdown dialog(DesktopOf(run), step.action, static_cast<int32_t>(step.seconds));
        DesktopOf(run).dialogs.RunCountdownDialog(dialog);
    } else {
        const ShutdownKind kind = ShutdownKindOf(step.action);
        SetStatus(run, ShutdownProgressText(kind));
        ShutdownComputer(DesktopOf(run), kind);
    }
    WaitDelay(run);
}

// "Wait hh:mm:ss" for the whole seconds of ms, the hours within the day.
std::u16string ClockText(int64_t ms) {
    const int64_t seconds = ms / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "Wait %02d:%02d:%02d", static_cast<int>(seconds / 3600 % 24),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return Widen(text);
}

// The time to wait: the stored time, or with `random` set a part of it
// below one (thousandths drawn from the desktop's generator).
int64_t WaitTime(const StepRun& run, const WaitEvent& step) {
    if (step.random == 0) return step.milliseconds;
    const uint32_t thousandths = DesktopOf(run).system.Random() % 1000;
    // Below 1 times a 64-bit value: the product stays in range.
    return static_cast<int64_t>(thousandths / 1000.0 * static_cast<double>(step.milliseconds));
}

// Waits in one-second pieces so that the status line counts down; a stop
// ends the wait at once however long it was.
void Wait(const StepRun& run) {
    const auto& step = static_cast<const WaitEvent&>(run.step);
    for (int64_t ms = WaitTime(run, step); ms > 0 && !IsSet(StopRequest);) {
        if (ms > kWaitChunkMs) {
            SetStatus(run, ClockText(ms));
            run.Wait(kWaitChunkMs);
            ms -= kWaitChunkMs;
        } else {
            SetStatus(run, u"Wait " + Decimal(ms) + u" ms");
            run.Wait(static_cast<uint32_t>(ms));
            break;
        }
    }
    WaitDelay(run);
}

void PlayCopyFile(const StepRun& run) {
    const auto& step = static_cast<const CopyFileEvent&>(run.step);
    FinishFileStep(run, DesktopOf(run).files.CopyFile(step.source, step.destination));
}

void PlayDeleteFile(const StepRun& run) {
    FinishFileStep(run, DesktopOf(run).files.DeleteFile(static_cast<const DelFileEvent&>(run.step).file));
}

}  // namespace

void AddSystemSteps(StepKinds& kinds) {
    kinds.Add(Kind<OpenFileEvent>(Plays<OpenFile>));
    kinds.Add(Kind<OpenWebEvent>(Plays<OpenWeb>));
    kinds.Add(Kind<CopyFileEvent>(Plays<PlayCopyFile>));
    kinds.Add(Kind<DelFileEvent>(Plays<PlayDeleteFile>));
    kinds.Add(Kind<MsgBoxEvent>(Plays<ShowMessage>));
    kinds.Add(Kind<ShutdownEvent>(Plays<Shutdown>));
    kinds.Add(Kind<WaitEvent>(Plays<Wait>));
    // Not even the delay is waited, and playback does not show the step.
    StepKind comment = Kind<CommentEvent>(nullptr);
    comment.unseen = true;
    kinds.Add(comment);
}

}  // namespace ovrix
