// The real progress window's hand-over between the playback thread and the
// window's own thread: Open returns only after the behaviour has started the
// window on that thread, lines written from the playback thread arrive
// without waiting on it, and once Close returns the behaviour is never
// called again, so the playback side may destroy it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/win32/ProgressWindow.h"
#include "platform/win32/Resource.h"

namespace ovrix::win32 {
namespace {

class CountingBehaviour : public ProgressWindowBehaviour {
public:
    void Start(ProgressWindowHost& host) override {
        startThread = ::GetCurrentThreadId();
        host.StartTimer(1);
        ++calls;
    }
    void OnTimer(ProgressWindowHost&) override {
        ++ticks;
        ++calls;
    }
    void OnHotkey(ProgressWindowHost&, int32_t) override { ++calls; }

    std::atomic<DWORD> startThread{0};
    std::atomic<int> ticks{0};
    std::atomic<int> calls{0};
};

// Polls for up to two seconds.
template <class Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 200; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[128] = {};
    ::GetDlgItemTextW(dialog, id, text, 128);
    return text;
}

TEST(ProgressWindowThread, StartsOnItsOwnThreadAndIsNotCalledAfterClose) {
    CVtlProgDlg window;
    for (int round = 0; round < 2; ++round) {  // a closed window opens again
        SCOPED_TRACE(round);
        CountingBehaviour behaviour;
        ASSERT_TRUE(window.Open(behaviour));
        EXPECT_NE(behaviour.startThread.load(), 0u) << "Open returned before Start ran";
        EXPECT_NE(behaviour.startThread.load(), ::GetCurrentThreadId());
        EXPECT_TRUE(Eventually([&] { return behaviour.ticks > 0; }));

        window.Close();
        const int callsAtClose = behaviour.calls;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(behaviour.calls, callsAtClose);
    }
}

TEST(ProgressWindowThread, LinesFromThePlaybackThreadReachTheWindow) {
    CVtlProgDlg window;
    CountingBehaviour behaviour;
    ASSERT_TRUE(window.Open(behaviour));
    // Many writes before the window thread gets to them: only the last shows.
    for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
        window.ShowLine(ProgressLine::Repeat, u"Repeat 1 times, current " + std::u16string(1, digit));
    }
    window.ShowLine(ProgressLine::Repeat, u"Repeat 3 times, current 2");
    EXPECT_TRUE(Eventually(
        [&] { return ControlText(window.Handle(), IDC_PROGRESS_REPEAT) == L"Repeat 3 times, current 2"; }));
    window.Close();
}

}  // namespace
}  // namespace ovrix::win32
