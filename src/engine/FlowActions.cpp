#include "engine/FlowActions.h"

#include <cstdio>
#include <limits>
#include <string>

#include "container/Text.h"
#include "engine/Context.h"
#include "engine/ExecuteStep.h"
#include "engine/FlowSteps.h"
#include "engine/Player.h"
#include "engine/ScriptFunctions.h"
#include "engine/StepTree.h"
#include "script/StepKinds.h"
#include "expr/ExprItem.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"
#include "expr/VariableName.h"
#include "expr/Variables.h"

namespace ovrix {

namespace {

// Already in canonical form.
constexpr std::u16string_view kLoopIndexVariable = u"@CurLoopIndex";

std::u16string Widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// The same path with its last index moved by `delta`.
StepPath Sibling(StepPath path, int32_t delta) {
    if (!path.empty()) path.back() += delta;
    return path;
}

IntVar* LoopCounter(Context& context, const StepPath& loopPath) {
    IntVar* counter = context.frame.GetIntVar(u"@idx" + PathSuffix(loopPath));
    if (counter == nullptr) {
        counter = context.frame.GetIntVar(u"@idx" + PathSuffix(loopPath), true);
        if (counter != nullptr) counter->Set(1);
    }
    return counter;
}

void SetNumberVariable(std::u16string_view name, double value, VariableSlot* slot = nullptr) {
    SetVariableNumber(name, value, 0, slot);
}

double NumberVariable(std::u16string_view name, VariableSlot* slot) {
    const Ref<ExprItem> item(VariableItem(name, slot));
    return item ? item->GetNumber() : 0.0;
}

// The loop's hidden variables in this run, found by name on its first
// arrival in the run; null members when a name is held by another kind.
const LoopRunCache& LoopVariables(Context& context, const ForLoopEvent& loop, const StepPath& loopPath) {
    LoopRunCache& cache = loop.cache;
    if (cache.run == context.serial && cache.counter != nullptr) return cache;
    const std::u16string suffix = PathSuffix(loopPath);
    cache.counter = LoopCounter(context, loopPath);
    cache.start = context.frame.GetTimeVar(u"@startT" + suffix, true);
    cache.end = context.frame.GetTimeVar(u"@endT" + suffix, true);
    cache.variableName = CanonicalVariableName(loop.variable);
    cache.run = context.serial;
    return cache;
}

// The loop step just before a step, or null.
const ForLoopEvent* LoopBefore(Context& context) {
    StepPath& path = context.path;
    if (path.empty()) return nullptr;
    --path.back();
    const Event* step = EventAt(*context.list, path);
    ++path.back();
    return step != nullptr && step->TypeId() == ForLoopEvent::kTypeId ? static_cast<const ForLoopEvent*>(step) : nullptr;
}

// "5 second", "500 ms", "2 minute", "1 hour": a leading decimal integer, a
// space, and a unit word; an unknown unit counts in minutes. Answers whole
// seconds.
int64_t DurationSeconds(std::u16string_view text) {
    const size_t space = text.find(u' ');
    if (space == std::u16string_view::npos) return 0;
    const std::u16string_view number = text.substr(0, space);
    size_t i = 0;
    bool negative = false;
    if (i < number.size() && (number[i] == u'-' || number[i] == u'+')) negative = number[i++] == u'-';
    if (i >= number.size() || number[i] < u'0' || number[i] > u'9') return 0;
    int64_t value = 0;
    for (; i < number.size() && number[i] >= u'0' && number[i] <= u'9'; ++i) {
        value = value * 10 + (number[i] - u'0');
        if (value > std::numeric_limits<int32_t>::max()) break;
    }
    if (negative) value = -value;
    const std::u16string unit = LowerCase(text.substr(space + 1));
    int64_t factor = 60000;
    if (unit == u"ms") factor = 1;
    else if (unit == u"second") factor = 1000;
    else if (unit == u"minute") factor = 60000;
    else if (unit == u"hour") factor = 3600000;
    return value * factor / 1000;
}

// The enclosing loop of a step: its path, or empty when there is none.
StepPath EnclosingLoop(const Context& context, StepPath path) {
    while (!path.empty()) {
        path.pop_back();
        const Event* step = EventAt(*context.list, path);
        if (step == nullptr) return {};
        if (step->TypeId() == ForLoopEvent::kTypeId) return path;
    }
    return {};
}

void PlayCondition(const StepRun& run, bool holds, std::u16string_view falseStatus) {
    run.SetConditionHeld(holds);
    if (!holds) {
        run.Finish(falseStatus);
        run.SkipBlock();
        return;
    }
    run.Finish();
}

void PlayIfVar(const StepRun& run) {
    const auto& step = static_cast<const IfVarEvent&>(run.step);
    PlayCondition(run, ConditionHolds(step.condition), u"The condition is false");
}

void PlayIfFileExist(const StepRun& run) {
    const auto& step = static_cast<const IfFileExistEvent&>(run.step);
    const std::u16string path = AsText(EvaluateStored(step.fileName));
    PlayCondition(run, run.player.desktop.files.FileExists(path), u"The file is not exist");
}

void PlayElse(const StepRun& run) {
    const StepPath& own = run.context.path;
    if (GetBlockFlag(run.context, Sibling(own, -1), kIfBlockKind) == 1) {
        const EventList* body = run.step.GetChildList();
        if (body != nullptr && !body->Empty()) run.SkipBlock();
        return;  // the Else's delay belongs to its body, which is not played
    }
    run.Finish();
}

// Leaves the loop being played for the step after its Next.
void ExitLoop(const StepRun& run, IntVar& counter) {
    run.jump = Sibling(run.context.path, 2);
    counter.Set(1);
}

void PlayForLoop(const StepRun& run) {
    const auto& loop = static_cast<const ForLoopEvent&>(run.step);
    Context& context = run.context;
    const LoopRunCache& found = LoopVariables(context, loop, context.path);
    IntVar* counter = found.counter;
    TimeVar* start = found.start;
    TimeVar* end = found.end;
    if (counter == nullptr || start == nullptr || end == nullptr) return;  // a name held by another kind
    const int32_t index = counter->Get();
    SetNumberVariable(kLoopIndexVariable, index, &loop.cache.loopIndex);

    bool leave = false;
    switch (loop.kind) {
        case kLoopCount: leave = static_cast<int64_t>(index) > static_cast<int64_t>(loop.count); break;
        case kLoopTime:
            if (index == 1) {
                start->Set(run.player.desktop.clock.Now());
                end->Set(start->Get() + DurationSeconds(loop.duration));
            } else {
                leave = run.player.desktop.clock.Now() >= end->Get();
            }
            break;
        case kLoopWhile: leave = !ConditionHolds(loop.condition); break;
        case kLoopRange:
        case kLoopRangeExclusive: {
            const std::u16string& variable = found.variableName;
            VariableSlot* slot = &loop.cache.variable;
            if (index == 1) {
                SetNumberVariable(variable, AsNumber(EvaluateStored(loop.start)), slot);
            } else {
                SetNumberVariable(variable, NumberVariable(variable, slot) + 1.0, slot);
            }
            const int32_t current = TruncateToInt32(NumberVariable(variable, slot));
            double last = AsNumber(EvaluateStored(loop.end));
            if (loop.kind == kLoopRangeExclusive) last -= 1.0;
            leave = current > TruncateToInt32(last);
            break;
        }
        default: break;  // loops until Exit For
    }
    if (leave) {
        ExitLoop(run, *counter);
        return;
    }
    if (run.step.delay == 0) return;
    char text[64];
    if (loop.kind == kLoopTime) {
        LocalTime t;
        run.player.desktop.clock.ToLocalTime(start->Get(), t);
        std::snprintf(text, sizeof text, "For Loop %d, started at %02d:%02d:%02d", index, t.hour, t.minute,
                      t.second);
    } else if (loop.kind == kLoopWhile) {
        std::snprintf(text, sizeof text, "While Loop %d", index);
    } else {
        std::snprintf(text, sizeof text, "For Loop %d", index);
    }
    run.player.desktop.progress.SetLine(ProgressLine::Status, Widen(text));
    run.Wait(run.step.delay);
}

// A loop-control step that has no loop where it needs one is reported and
// play goes on with the next step, without the step's delay.
void ReportInvalid(const StepRun& run, std::u16string_view what) {
    run.player.desktop.dialogs.ShowMessage(u"Action Script Error: Invalid " + std::u16string(what));
}

void PlayNext(const StepRun& run) {
    const ForLoopEvent* loop = LoopBefore(run.context);
    if (loop == nullptr) {
        ReportInvalid(run, u"Next statement.");
        return;
    }
    run.jump = run.context.path;
    --run.jump.back();
    if (IntVar* counter = LoopVariables(run.context, *loop, run.jump).counter) counter->Increment();
    run.Finish();
}

void PlayContinue(const StepRun& run) {
    const StepPath loopPath = EnclosingLoop(run.context, run.context.path);
    if (loopPath.empty()) {
        ReportInvalid(run, u"Continue For statement.");
        return;
    }
    run.jump = Sibling(loopPath, 1);
    run.Finish();
}

void PlayExitFor(const StepRun& run) {
    const StepPath loopPath = EnclosingLoop(run.context, run.context.path);
    if (loopPath.empty()) {
        ReportInvalid(run, u"Exit For statement.");
        return;
    }
    if (IntVar* counter = LoopCounter(run.context, loopPath)) counter->Set(1);
    StepPath after = Sibling(loopPath, 1);
    AdvancePath(*run.context.list, after);
    run.jump = after.empty() ? StepPath{-1} : after;
    run.Finish();
}

void PlaySwitch(const StepRun& run) {
    const auto& step = static_cast<const SwitchEvent&>(run.step);
    const std::u16string key = AsText(EvaluateStored(step.expression));
    const CaseTable& table = run.context.caseTables[&run.step];
    const auto found = key.empty() ? table.keys.end() : table.keys.find(key);
    run.jump = found != table.keys.end() ? found->second : table.defaultPath;
    run.Finish();
}

// A case or default body has run out: leave the switch (no fall-through).
void LeaveSwitch(const StepRun& run, std::u16string_view invalid) {
    const StepPath& own = run.context.path;
    if (own.size() < 2) {
        ReportInvalid(run, invalid);
        return;
    }
    StepPath after(own.begin(), own.end() - 1);
    ++after.back();
    run.jump = after;
    run.Finish();
}

void PlayCaseEnd(const StepRun& run) { LeaveSwitch(run, u"Switch Case Command."); }
void PlayDefaultEnd(const StepRun& run) { LeaveSwitch(run, u"Switch Defalult Command."); }

}  // namespace

void AddFlowSteps(StepKinds& kinds) {
    kinds.Add(Kind<IfVarEvent>(Plays<PlayIfVar>));
    kinds.Add(Kind<IfFileExistEvent>(Plays<PlayIfFileExist>));
    kinds.Add(Kind<ElseEvent>(Plays<PlayElse>));
    kinds.Add(Kind<EndIfEvent>(WaitDelayOnly));
    kinds.Add(Kind<ForLoopEvent>(Plays<PlayForLoop>));
    kinds.Add(Kind<NextEvent>(Plays<PlayNext>));
    kinds.Add(Kind<ContinueEvent>(Plays<PlayContinue>));
    kinds.Add(Kind<ExitForEvent>(Plays<PlayExitFor>));
    kinds.Add(Kind<SwitchEvent>(Plays<PlaySwitch>));
    kinds.Add(Kind<EndSwitchEvent>(WaitDelayOnly));
    kinds.Add(Kind<SwitchCaseEvent>(Plays<PlayCaseEnd>));
    kinds.Add(Kind<SwitchDefaultEvent>(Plays<PlayDefaultEnd>));
}

void RebuildCaseTable(Context& context, const StepPath& path) {
    const Event* owner = EventAt(*context.list, path);
    if (owner == nullptr) return;
    CaseTable& table = context.caseTables[owner];
    table = CaseTable{};
    StepPath k = path;
    k.push_back(0);
    for (Event* step = EventAt(*context.list, k); step != nullptr; step = EventAt(*context.list, k)) {
        StepPath body = k;
        body.push_back(0);
        if (step->TypeId() == SwitchDefaultEvent::kTypeId) {
            table.defaultPath = body;
            break;
        }
        if (step->TypeId() != SwitchCaseEvent::kTypeId) break;
        for (const auto& value : static_cast<const SwitchCaseEvent*>(step)->values) {
            if (value) table.keys[value->GetKey()] = body;  // a later case with the same key wins
        }
        ++k.back();
    }
}

void PrepareRun(Context& context) {
    // A list is walked once per playback while it stays as it is, however
    // often it runs (a called function's body, a loop around a Call).
    static constexpr uint32_t kPrepared[] = {ForLoopEvent::kTypeId, SwitchEvent::kTypeId};
    for (const PlacedStep& placed : context.list->StepsOfTypes(kPrepared, PlaybackSerial())) {
        if (placed.step->TypeId() == ForLoopEvent::kTypeId) {
            const std::u16string suffix = PathSuffix(placed.path);
            if (IntVar* counter = context.frame.GetIntVar(u"@idx" + suffix, true)) counter->Set(1);
            context.frame.GetTimeVar(u"@startT" + suffix, true);
            context.frame.GetTimeVar(u"@endT" + suffix, true);
        } else {
            RebuildCaseTable(context, placed.path);
        }
    }
}

}  // namespace ovrix
