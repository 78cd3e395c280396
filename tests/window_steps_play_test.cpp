// The window steps played on the simulated desktop: closing and switching,
// waits that succeed, time out or are stopped, and the "If" form with Else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimFixture.h"
#include "ScriptTestSupport.h"
#include "builtins/WindowSearch.h"
#include "engine/FlowSteps.h"
#include "screen/WindowSteps.h"

namespace ovrix {
namespace {

using scripttest::Block;
using scripttest::ClearLog;
using scripttest::Log;
using scripttest::LogText;
using scripttest::Step;
using Lines = std::vector<std::string>;

template <class T>
Ref<T> Titled(std::u16string title, uint32_t delay = 0) {
    auto step = Step<T>(delay);
    step->title = std::move(title);
    return step;
}

Ref<WaitWindowEvent> Wait(std::u16string title, uint32_t appear, uint32_t timeout, std::u16string unit,
                          uint32_t delay = 0) {
    auto step = Titled<WaitWindowEvent>(std::move(title), delay);
    step->appear = appear;
    step->timeout = timeout;
    step->timeoutUnit = std::move(unit);
    return step;
}

Ref<WaitWindowEvent> IfWindow(Ref<WaitWindowEvent> wait, std::vector<Ref<Event>> body) {
    wait->ifForm = 1;
    for (auto& s : body) wait->children.Append(s);
    return wait;
}

struct WindowStepsPlay : ::testing::Test {
    WindowStepsPlay() { ClearLog(); }

    uint64_t Play(std::vector<Ref<Event>> steps) {
        return f.PlaySteps(std::move(steps));
    }

    WindowId Add(std::u16string title, uint64_t appearMs = 0, std::optional<uint64_t> closeMs = std::nullopt) {
        SimWindowSpec spec;
        spec.title = std::move(title);
        spec.className = u"Notepad";
        spec.rect = {0, 0, 640, 480};
        spec.appearMs = appearMs;
        spec.closeMs = closeMs;
        return f.sim.windows.Add(spec);
    }

    // The status lines shown, without the emptying at each step's start.
    Lines Status() const {
        Lines shown;
        for (const std::string& line : f.Events("line status")) {
            if (line != "line status \"\"") shown.push_back(line);
        }
        return shown;
    }
    Lines Windows() const { return f.Events("window"); }

    SimFixture f;
};

TEST_F(WindowStepsPlay, CloseAndSwitchActOnTheFirstMatchOrSayTheyFoundNone) {
    Add(u"Untitled - Notepad");
    const WindowId minimised = Add(u"Report - Editor");
    f.sim.windows.Show(minimised, showcmd::kMinimize);
    Play({Titled<SwitchWindowEvent>(u"report*"), Titled<CloseWindowEvent>(u"* - NOTEPAD"),
          Titled<CloseWindowEvent>(u"untitled", 100), Titled<SwitchWindowEvent>(u"missing", 100)});
    EXPECT_EQ(Windows(), (Lines{"window restore \"Report - Editor\"", "window activate \"Report - Editor\"",
                                "window close \"Untitled - Notepad\""}));
    EXPECT_EQ(Status(), (Lines{"line status \"Can not find the window\"", "line status \"Can not find the window\""}));
    EXPECT_FALSE(f.sim.windows.IsMinimized(minimised));
    EXPECT_EQ(f.sim.windows.GetForegroundWindow(), minimised);
}

TEST_F(WindowStepsPlay, WaitsEndWhenTheWindowComesOrGoes) {
    Add(u"Untitled - Notepad", 1200, 2500);
    // Looked for about every 100 ms: found within one look of its coming.
    uint64_t took = Play({Wait(u"*notepad", 1, 10, u"sec")});
    EXPECT_GE(took, 1200u);
    EXPECT_LT(took, 1320u);
    EXPECT_EQ(Status(), (Lines{"line status \"Waiting for the window appear\""}));
    EXPECT_EQ(Windows(), (Lines{"window activate \"Untitled - Notepad\""}));

    took = Play({Wait(u"*notepad", 0, 10, u"sec")});
    EXPECT_GE(f.sim.ElapsedMs(), 2500u);
    EXPECT_LT(took, 1400u);
    EXPECT_EQ(Status(), (Lines{"line status \"Waiting for the window disappear\""}));

    // Nothing to wait for: at once, and without the waiting line.
    EXPECT_LT(Play({Wait(u"*notepad", 0, 10, u"sec")}), 20u);
    EXPECT_TRUE(Status().empty());
}

TEST_F(WindowStepsPlay, TimeoutsInEveryUnitAndAShortOneLooksOnce) {
    struct Case {
        uint32_t amount;
        const char16_t* unit;
        uint64_t ms;
    } cases[] = {{250, u"ms", 250}, {2, u"sec", 2000}, {1, u"minute", 60000},
                 {1, u"hour", 3600000}, {1, u"secs", 60000}, {0, u"hour", 0}, {100, u"ms", 0}};
    for (const Case& c : cases) {
        const uint64_t took = Play({Wait(u"never", 1, c.amount, c.unit, 500)});
        EXPECT_GE(took, c.ms + 500) << c.amount << " " << std::string(c.unit, c.unit + 4);
        EXPECT_LT(took, c.ms + 650);
        EXPECT_EQ(Status().back(), "line status \"Wait for the window timeout\"");
        EXPECT_EQ(Status().size(), c.ms == 0 ? 1u : 2u);  // a single look shows no waiting line
    }
    // Without a delay the timeout is not shown.
    Play({Wait(u"never", 1, 0, u"ms")});
    EXPECT_TRUE(Status().empty());
}

TEST_F(WindowStepsPlay, TheIfFormEntersItsStepsOrLeavesThemToElse) {
    Add(u"Untitled - Notepad");
    auto form = [](uint32_t appear) {
        auto wait = Wait(u"*notepad", appear, 300, u"ms");
        wait->bringToFront = 0;
        return IfWindow(wait, {Log(u"then")});
    };
    Play({form(1), Block<ElseEvent>({Log(u"else")}), Step<EndIfEvent>(), Log(u";"),
          form(0), Block<ElseEvent>({Log(u"else")}), Step<EndIfEvent>(), Log(u";")});
    EXPECT_EQ(LogText(), "then;else;");
    EXPECT_TRUE(Windows().empty());  // not brought to the front: the option is off
}

TEST_F(WindowStepsPlay, StopEndsAWaitWithinASliceAndSkipsNothingMore) {
    f.sim.onPump = [](SimPlatform& s) { SetFlag(StopRequest, s.ElapsedMs() >= 2500 ? 1 : 0); };
    const uint64_t took = Play({IfWindow(Wait(u"never", 1, 1, u"hour", 1000), {Log(u"then")}), Log(u"after")});
    EXPECT_GE(took, 2500u);
    EXPECT_LT(took, 2560u);
    EXPECT_EQ(LogText(), "");
}

TEST_F(WindowStepsPlay, ARefusedCloseRequestLeavesTheWindowToWaitFor) {
    SimWindowSpec spec;
    spec.title = u"Unsaved - Editor";
    spec.closesOnRequest = false;
    f.sim.windows.Add(spec);
    Add(u"Untitled - Notepad");
    const uint64_t took = Play({Titled<CloseWindowEvent>(u"unsaved*"), Titled<CloseWindowEvent>(u"untitled*"),
                                Wait(u"unsaved*", 0, 1, u"sec"), Wait(u"untitled*", 0, 1, u"sec")});
    EXPECT_GE(took, 1000u);
    EXPECT_LT(took, 1100u);
    EXPECT_EQ(Windows(), (Lines{"window close \"Unsaved - Editor\"", "window close \"Untitled - Notepad\""}));
    EXPECT_NE(FindWindowByTitle(f.sim.windows, u"unsaved*"), kNoWindow);
}

}  // namespace
}  // namespace ovrix
