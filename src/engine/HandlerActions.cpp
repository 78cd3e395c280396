#include "engine/HandlerActions.h"

#include <memory>

#include "engine/ExecuteStep.h"
#include "engine/HandlerSteps.h"
#include "engine/Playback.h"
#include "engine/Player.h"
#include "engine/ScriptFunctions.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"
#include "script/StepKinds.h"

namespace ovrix {

namespace {

// A handler script as the window procedure plays it: arguments an empty
// value, the window, then the numbers; the result is the script's Return as
// a truncated number (0 without one). The run it interrupted keeps its own
// Return value.
class HandlerScript final : public ScriptHandler {
public:
    HandlerScript(Player& player, EventList& list) : player_(player), list_(list) {}

    int64_t Run(WindowId window, std::span<const int64_t> numbers) override {
        ArgumentList arguments{MakeItem<ExprItem_Empty>(), MakeItem<ExprItem_WindowHandle>(window)};
        for (int64_t number : numbers) arguments.push_back(MakeItem<ExprItem_Num>(static_cast<double>(number)));
        PExprItem interrupted = ScriptReturnValue();
        RunEventList(player_, list_, &arguments, 0);
        const PExprItem value = ScriptReturnValue();
        ScriptReturnValue() = interrupted;
        return value ? TruncateToInt32(AsNumber(value)) : 0;
    }

private:
    Player& player_;
    EventList& list_;
};

std::shared_ptr<ScriptHandler> HandlerFor(Player& player, EventList* list) {
    return list != nullptr ? std::make_shared<HandlerScript>(player, *list) : nullptr;
}

// The script-made window the step's window expression names, or kNoWindow.
WindowId ScriptWindowOf(Player& player, const StoredExpr& expression) {
    const PExprItem value = EvaluateStored(expression);
    const auto* window = value ? ItemAs<ExprItem_WindowHandle>(value) : nullptr;
    Desktop& desktop = player.desktop;
    if (window == nullptr || !desktop.scriptWindows.IsScriptWindow(window->window) ||
        !desktop.windows.IsWindow(window->window)) {
        return kNoWindow;
    }
    return window->window;
}

// A window control names its dialog control id (0 once it is gone); any
// other value is a command id itself.
uint32_t CommandIdOf(Player& player, const StoredExpr& expression) {
    const PExprItem value = EvaluateStored(expression);
    if (const auto* control = value ? ItemAs<ExprItem_WindowHandle>(value) : nullptr) {
        if (!player.desktop.windows.IsWindow(control->window)) return 0;
        return static_cast<uint32_t>(player.desktop.scriptWindows.ControlId(control->window));
    }
    return static_cast<uint32_t>(TruncateToInt32(AsNumber(value)));
}

int32_t SetMessageHandler(const StepRun& run) {
    auto& step = static_cast<SetWinMsgHandlerEvent&>(run.step);
    const WindowId window = ScriptWindowOf(run.player, step.window);
    if (window == kNoWindow) return 0;
    run.player.desktop.scriptWindows.SetMessageHandler(window, step.message, HandlerFor(run.player, step.handler));
    run.Finish();
    return 0;
}

int32_t SetCommandHandler(const StepRun& run) {
    auto& step = static_cast<SetWinCmdHandlerEvent&>(run.step);
    const WindowId window = ScriptWindowOf(run.player, step.window);
    if (window == kNoWindow) return 0;
    const uint32_t commandId = CommandIdOf(run.player, step.control);
    run.player.desktop.scriptWindows.SetCommandHandler(window, commandId, HandlerFor(run.player, step.handler));
    run.Finish();
    return 0;
}

}  // namespace

void AddHandlerSteps(StepKinds& kinds) {
    kinds.Add(Kind<SetWinMsgHandlerEvent>(SetMessageHandler));
    kinds.Add(Kind<SetWinCmdHandlerEvent>(SetCommandHandler));
    kinds.Add(Kind<CreateThreadEvent>(WaitDelayOnly));
}

}  // namespace ovrix
