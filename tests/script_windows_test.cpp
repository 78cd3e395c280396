// Windows that scripts build, on the simulated desktop: forms and their
// layout, the controls' state, modal runs ended by handler scripts, message
// and command handlers with their arguments and results, handlers inside
// handlers, and the steps' rule for values that are no script-made window.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "ScriptTestSupport.h"
#include "SimFixture.h"
#include "builtins_test_support.h"
#include "engine/FunctionSteps.h"
#include "engine/HandlerSteps.h"
#include "engine/LinkPass.h"
#include "expr/KindsObject.h"
#include "expr/VariableName.h"
#include "expr/Variables.h"
#include "shell/PlayerBuiltinHost.h"

namespace ovrix {
namespace {

using Lines = std::vector<std::string>;
using scripttest::ClearLog, scripttest::If, scripttest::Op, scripttest::Log, scripttest::LogText, scripttest::Num,
    scripttest::Return, scripttest::ScriptArg, scripttest::Set, scripttest::Step, scripttest::Stored, scripttest::Text,
    scripttest::Var;
using testing_builtins::LoadCall;

using Edges = std::array<int32_t, 4>;
Edges EdgesOf(const ScreenRect& r) { return {r.left, r.top, r.right, r.bottom}; }

PExprItem Empty() { return MakeItem<ExprItem_Empty>(); }
PExprItem Fn(std::u16string_view key, std::vector<PExprItem> args) { return LoadCall(key, args); }
Ref<Event> Do(std::u16string_view key, std::vector<PExprItem> args) { return Set(u"$_", Fn(key, std::move(args))); }

// ---------------------------------------------------------------------------
// The functions alone, through a fake host.

struct ScriptWindowFunctions : ::testing::Test {
    testing_builtins::FakeBuiltinHost host;
    SimScriptWindows& facet = host.sim.scriptWindows;
    // Object values have no stored form: they reach the call through variables.
    PExprItem Call(std::u16string_view key, std::vector<PExprItem> args) {
        for (size_t i = 0; i < args.size(); ++i) {
            if (ItemAs<ObjectItem>(args[i]) == nullptr) continue;
            const std::u16string name = u"!arg" + std::u16string(1, static_cast<char16_t>(u'0' + i));
            SetVariable(CanonicalVariableName(name), args[i]);
            args[i] = Var(name);
        }
        return testing_builtins::Call(key, args);
    }
    Edges RectOf(const PExprItem& window) {
        return EdgesOf(host.sim.windows.Find(ItemAs<ExprItem_WindowHandle>(window)->window)->spec.rect);
    }
    PExprItem Form() { return Call(u"CreateWindow", {Text(u"Form"), Num(10), Num(20), Num(400), Num(300)}); }
};

TEST_F(ScriptWindowFunctions, FormIsBuiltInTheWindowListAndControlsGetIds) {
    const PExprItem form = Form();
    const PExprItem ok = Call(u"CreateButton", {Text(u"OK"), Num(30.9), Num(40), Num(100), Num(25), form});
    const PExprItem named = Call(u"CreateEdit", {Text(u"x"), Num(0), Num(0), Num(100), Num(25), form, Num(7)});
    EXPECT_TRUE(ItemAs<ExprItem_WindowHandle>(form)->ownsWindow);
    EXPECT_EQ(RectOf(form), (Edges{10, 20, 410, 320}));
    EXPECT_EQ(RectOf(ok), (Edges{30, 40, 130, 65}));  // the default size, the place truncated
    EXPECT_EQ(AsNumber(Call(u"GetDlgCtrlID", {ok})), 1001);
    EXPECT_EQ(AsNumber(Call(u"GetDlgCtrlID", {named})), 7);
    // The window functions find them: a hidden form, its visible controls.
    EXPECT_EQ(AsText(Call(u"GetWindowText", {form})), u"Form");
    EXPECT_FALSE(host.sim.windows.IsVisible(ItemAs<ExprItem_WindowHandle>(form)->window));
    EXPECT_EQ(AsText(Call(u"Win_GetText", {named})), u"x");
    EXPECT_EQ(EventsOf(host.trace, "scriptwindow"),
              (Lines{"scriptwindow create \"Form\" window", "scriptwindow create \"OK\" button",
                     "scriptwindow create \"x\" edit"}));
    // A picture box takes its image's size; without an image, or with a
    // parent that is gone, nothing is made.
    VBmp picture{std::vector<uint8_t>(6 * 4 * 4), 6, 4, 32};
    const PExprItem box = Call(u"CreatePictureBox", {Num(5), Num(5), form, Empty(), Num(0), MakeItem<ExprItem_Image>(picture)});
    EXPECT_EQ(RectOf(box), (Edges{5, 5, 11, 9}));
    EXPECT_FALSE(Call(u"CreatePictureBox", {Num(5), Num(5), form}));
    Call(u"CloseWindow", {form});
    host.sim.PumpMessages();
    EXPECT_FALSE(host.sim.windows.IsWindow(ItemAs<ExprItem_WindowHandle>(ok)->window));
    EXPECT_FALSE(Call(u"CreateStatic", {Text(u"late"), Num(0), Num(0), Num(9), Num(9), form}));
    EXPECT_FALSE(Call(u"GetDlgCtrlID", {ok}));
}

// A 100 x 25 button at (30, 40) in its form, aligned one way at a time.
TEST_F(ScriptWindowFunctions, AlignmentPlacesTheControlInItsParentAndKeepsItsSize) {
    struct Case {
        const char16_t* function;
        double relativeTo, value;
        int32_t left, top;
    };
    const Case cases[] = {
        {u"AlignLeft", 110, 10, 120, 40},  {u"AlignRight", 300, 10, 190, 40}, {u"AlignTop", 50, 5.7, 30, 55},
        {u"AlignBottom", 200, 0, 30, 175}, {u"AlignHMid", 100, 0, 30, 88},    {u"AlignVMid", 200, 0, 150, 40},
    };
    const PExprItem form = Form();
    for (const Case& c : cases) {
        const PExprItem button = Call(u"CreateButton", {Text(u"b"), Num(30), Num(40), Num(100), Num(25), form});
        Call(c.function, {button, Num(c.relativeTo), Num(c.value)});
        EXPECT_EQ(RectOf(button), (Edges{c.left, c.top, c.left + 100, c.top + 25})) << static_cast<int>(&c - cases);
    }
    // A top-level window is placed on the screen.
    Call(u"AlignLeft", {form, Num(0), Num(5)});
    EXPECT_EQ(RectOf(form), (Edges{5, 20, 405, 320}));
}

TEST_F(ScriptWindowFunctions, ListProgressAndButtonStateAndColours) {
    const PExprItem form = Form();
    const PExprItem list = Call(u"CreateListCtrl", {Num(0), Num(0), Num(50), Num(50), form});
    for (double i : {0.0, 1.0, 9.0}) Call(u"ListCtrl_InsertItem", {list, Num(i), Text(u"row")});
    Call(u"ListCtrl_InsertItem", {list, Num(0), Text(u"first")});
    Call(u"ListCtrl_SetItemText", {list, Num(0), Num(2), Text(u"sub")});
    Call(u"ListCtrl_SetCheck", {list, Num(3), MakeItem<ExprItem_Bool>(true)});
    Call(u"ListCtrl_SelectItem", {list, Num(1)});
    Call(u"ListCtrl_SelectItem", {list, Num(3)});
    EXPECT_EQ(AsNumber(Call(u"ListCtrl_GetItemCount", {list})), 4);
    EXPECT_EQ(AsText(Call(u"ListCtrl_GetItemText", {list, Num(0), Num(2)})), u"sub");
    EXPECT_EQ(AsText(Call(u"ListCtrl_GetItemText", {list, Num(0), Num(1)})), u"");
    EXPECT_TRUE(AsTruth(Call(u"ListCtrl_GetCheck", {list, Num(3)})));
    EXPECT_FALSE(AsTruth(Call(u"ListCtrl_GetCheck", {list, Num(2)})));
    EXPECT_EQ(AsNumber(Call(u"ListCtrl_GetNextSelectedItem", {list})), 1);
    EXPECT_EQ(AsNumber(Call(u"ListCtrl_GetNextSelectedItem", {list, Num(1)})), 3);
    Call(u"ListCtrl_SelectItem", {list, Num(2), MakeItem<ExprItem_Bool>(true)});  // unselecting the others
    Call(u"ListCtrl_UnselectItem", {list, Num(2)});
    EXPECT_EQ(AsNumber(Call(u"ListCtrl_GetNextSelectedItem", {list})), -1);

    const PExprItem bar = Call(u"CreateProgressBar", {Num(0), Num(0), Num(50), Num(50), form});
    Call(u"ProgressBar_SetRange", {bar, Num(10)});
    Call(u"ProgressBar_SetPos", {bar, Num(15)});
    Call(u"ProgressBar_IncPos", {bar});
    EXPECT_EQ(AsNumber(Call(u"ProgressBar_GetPos", {bar})), 25);
    Call(u"ProgressBar_IncPos", {bar, Num(500)});
    EXPECT_EQ(AsNumber(Call(u"ProgressBar_GetPos", {bar})), 100);  // held inside the range
    EXPECT_EQ(AsNumber(Call(u"ProgressBar_GetMinPos", {bar})), 10);
    EXPECT_EQ(AsNumber(Call(u"ProgressBar_GetMaxPos", {bar})), 100);

    const PExprItem check = Call(u"CreateButton", {Text(u"c"), Num(0), Num(0), Num(9), Num(9), form});
    Call(u"Button_SetCheck", {check});
    EXPECT_TRUE(AsTruth(Call(u"Button_GetCheck", {check})));
    // A control operation on a control of another kind does nothing.
    EXPECT_EQ(AsNumber(Call(u"ListCtrl_GetItemCount", {bar})), 0);

    const WindowId window = ItemAs<ExprItem_WindowHandle>(form)->window;
    Call(u"SetWindowColors", {form, Num(0xFF), Empty()});
    EXPECT_EQ(facet.Colors(window).text, 0xFFu);
    EXPECT_EQ(facet.Colors(window).background, 0xFFFFFFu);
}

// ---------------------------------------------------------------------------
// Handlers played by the engine with the player's host.

Ref<Event> MessageHandler(PExprItem window, uint32_t message, std::u16string file, uint32_t delay = 0) {
    auto step = Step<SetWinMsgHandlerEvent>(delay);
    step->window = Stored(window);
    step->message = message;
    step->handlerFile = std::move(file);
    return step;
}

Ref<Event> CommandHandler(PExprItem window, PExprItem control, std::u16string file) {
    auto step = Step<SetWinCmdHandlerEvent>();
    step->window = Stored(window);
    step->control = Stored(control);
    step->handlerFile = std::move(file);
    return step;
}

Ref<Event> Delayed(Ref<Event> step, uint32_t delay) {
    step->delay = delay;
    return step;
}

struct HandlerPlay : ::testing::Test {
    HandlerPlay() { ClearLog(); }

    void Play(std::vector<Ref<Event>> steps) {
        EventList& list = *lists.emplace_back(std::make_unique<EventList>(SimFixture::StepList(std::move(steps))));
        ASSERT_TRUE(PrepareScript(f.player, list, 0));
        f.trace.clear();
        RunEventList(f.player, list, nullptr, 1);
    }
    static WindowId WindowIn(std::u16string_view variable) {
        const auto* value = ItemAs<ExprItem_WindowHandle>(GetVariable(CanonicalVariableName(variable)));
        return value != nullptr ? value->window : kNoWindow;
    }
    void At(uint64_t ms, std::optional<int32_t> command, std::optional<uint32_t> message = std::nullopt) {
        f.sim.scriptWindows.events.push_back({ms, u"Form", command, message});
    }
    // Creates the form in !form with an edit, a button (id 7) and a label.
    static std::vector<Ref<Event>> BuildForm() {
        return {Set(u"!form", Fn(u"CreateWindow", {Text(u"Form")})),
                Set(u"!edit", Fn(u"CreateEdit", {Text(u"typed"), Num(10), Num(10), Num(100), Num(25), Var(u"!form")})),
                Set(u"!button", Fn(u"CreateButton", {Text(u"Copy"), Num(10), Num(40), Num(100), Num(25), Var(u"!form"), Num(7)})),
                Set(u"!label", Fn(u"CreateStatic", {Text(u""), Num(10), Num(70), Num(100), Num(14), Var(u"!form")}))};
    }

    SimFixture f;
    PlayerBuiltinHost host{f.player};
    std::vector<std::unique_ptr<EventList>> lists;
};

// The command handler gets the window and the command id, copies the edit's
// text to the label and ends the modal run with its result; the window is
// destroyed after it, and the parent-less run enables nothing.
TEST_F(HandlerPlay, ButtonCommandCopiesTextAndEndsTheModalRunWithAResult) {
    f.EmbedScripts({{u"copy.ovx",
            {ScriptArg(u"$window", 1), ScriptArg(u"$id", 2), Log(Var(u"$id")),
             Do(u"SetWindowText", {Var(u"!label"), Fn(u"Win_GetText", {Var(u"!edit")})}),
             Do(u"EndWindow", {Var(u"$window"), Num(42)})}}});
    At(500, 7);
    std::vector<Ref<Event>> steps = BuildForm();
    steps.push_back(CommandHandler(Var(u"!form"), Var(u"!button"), u"copy.ovx"));
    steps.push_back(Set(u"$r", Fn(u"RunModalWindow", {Var(u"!form"), MakeItem<ExprItem_Bool>(true)})));
    steps.push_back(Log(u":"));
    steps.push_back(Log(Var(u"$r")));
    Play(steps);
    EXPECT_EQ(LogText(), "7:42");
    EXPECT_EQ(f.Events("handler"), (Lines{"handler command \"Form\" 7"}));
    EXPECT_EQ(f.Events("window title"), (Lines{"window title \"\" \"typed\""}));
    EXPECT_EQ(f.Events("scriptwindow end"), (Lines{"scriptwindow end \"Form\" 42"}));
    EXPECT_EQ(f.Events("window show"), (Lines{"window show \"Form\" 5"}));
    EXPECT_FALSE(f.sim.windows.IsWindow(WindowIn(u"!form")));
}

// WM_CLOSE with a handler: the handler's Return is what the procedure
// answers and the window stays until the handler asks for the default
// processing; a dialog's owner is disabled while the dialog runs.
TEST_F(HandlerPlay, CloseMessageHandlerAnswersAndFallsBackToDefaultProcessing) {
    f.EmbedScripts({{u"close.ovx",
            {ScriptArg(u"$window", 1), ScriptArg(u"$message", 2), Log(Var(u"$message")),
             If(Op(op::kEqual, Var(u"!closing"), Num(1)),
                {Do(u"InvokeDefaultHandler", {Var(u"$window"), Var(u"$message"), Num(0), Num(0)})}),
             Return(Num(5))}}});
    At(900, std::nullopt, kWmClose);
    Play({Set(u"!owner", Fn(u"CreateWindow", {Text(u"Owner")})),
          Set(u"!form", Fn(u"CreateDialog", {Text(u"Form"), Empty(), Empty(), Num(600), Num(400), Var(u"!owner")})),
          MessageHandler(Var(u"!form"), kWmClose, u"close.ovx"),
          Set(u"$answer", Fn(u"SendMessage", {Var(u"!form"), Num(16), Num(0), Num(0)})), Log(Var(u"$answer")),
          Set(u"!closing", Num(1)), Set(u"$r", Fn(u"RunModalWindow", {Var(u"!form")})), Log(u"="), Log(Var(u"$r"))});
    EXPECT_EQ(LogText(), "165" "16=0");
    EXPECT_EQ(f.Events("handler"), (Lines{"handler message \"Form\" 16", "handler message \"Form\" 16"}));
    EXPECT_TRUE(f.sim.scriptWindows.IsEnabled(WindowIn(u"!owner")));  // enabled again
    EXPECT_FALSE(f.sim.windows.IsWindow(WindowIn(u"!form")));
}

// A handler that waits lets the next event in: its handler runs inside.
TEST_F(HandlerPlay, HandlersNestInsideTheWaitsOfHandlers) {
    f.EmbedScripts({{u"slow.ovx", {Delayed(Log(u"<"), 1000), Log(u">")}},
           {u"fast.ovx", {ScriptArg(u"$id", 2), Log(Var(u"$id")), Do(u"EndWindow", {Var(u"!form"), Num(1)})}}});
    At(500, 1);
    At(900, 2);
    Play({Set(u"!form", Fn(u"CreateWindow", {Text(u"Form")})), CommandHandler(Var(u"!form"), Num(1), u"slow.ovx"),
          CommandHandler(Var(u"!form"), Num(2.9), u"fast.ovx"), Do(u"RunModalWindow", {Var(u"!form")}), Log(u"!")});
    EXPECT_EQ(LogText(), "<2>!");
    EXPECT_EQ(f.Events("handler"), (Lines{"handler command \"Form\" 1", "handler command \"Form\" 2"}));
}

// A handler step on a value that is no script-made window returns at once,
// without its delay; on a script-made window it waits the delay.
TEST_F(HandlerPlay, HandlerStepsOnValuesThatAreNoScriptWindowReturnAtOnce) {
    f.EmbedScripts({{u"h.ovx", {Log(u"h")}}});
    SimWindowSpec other;
    other.title = u"Notepad";
    f.sim.windows.Add(other);
    const uint64_t start = f.sim.ElapsedMs();
    Play({Set(u"$other", Fn(u"FindWindow", {Text(u"Notepad")})), MessageHandler(Var(u"$other"), 16, u"h.ovx", 1000),
          MessageHandler(Num(5), 16, u"h.ovx", 1000), MessageHandler(Var(u"$missing"), 16, u"h.ovx", 1000)});
    EXPECT_LT(f.sim.ElapsedMs() - start, 50u);
    Play({Set(u"!form", Fn(u"CreateWindow", {Text(u"Form")})), MessageHandler(Var(u"!form"), 16, u"h.ovx", 1000)});
    EXPECT_GE(f.sim.ElapsedMs() - start, 1000u);
}

// The stop request ends a modal run within a wait slice, with no value.
TEST_F(HandlerPlay, StopEndsAModalRunWithinASlice) {
    f.EmbedScripts({});
    f.sim.onPump = [](SimPlatform& sim) {
        if (sim.ElapsedMs() >= 2000) SetFlag(StopRequest);
    };
    Play({Set(u"!form", Fn(u"CreateWindow", {Text(u"Form")})), Set(u"$r", Num(9)),
          Set(u"$r", Fn(u"RunModalWindow", {Var(u"!form")})), Log(u"after")});
    EXPECT_LT(f.sim.ElapsedMs(), 2000u + 2 * kWaitSlice);
    EXPECT_EQ(LogText(), "");
    EXPECT_TRUE(f.sim.windows.IsWindow(WindowIn(u"!form")));
}

}  // namespace
}  // namespace ovrix
