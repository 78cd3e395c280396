// What one slice of PlaybackWait costs on Windows beyond its sleep: the
// message pump of the playback thread, with an empty queue and with a few
// messages waiting (a progress line update, a timer, a repaint). Runs each
// case for a fixed number of rounds and prints the mean in nanoseconds.
//
//   wine64 ovrix-pump-bench.exe
#include <chrono>
#include <cstdio>

#include "platform/win32/Win32Platform.h"
#include "platform/win32/WinApi.h"

namespace {

constexpr int kRounds = 200000;
constexpr UINT kProbeMessage = WM_APP + 7;

template <class Body>
double NanosecondsPerRound(Body body) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i) body();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return std::chrono::duration<double, std::nano>(elapsed).count() / kRounds;
}

}  // namespace

int wmain() {
    ovrix::win32::Win32Platform platform;
    const DWORD thread = ::GetCurrentThreadId();
    const double empty = NanosecondsPerRound([&] { platform.PumpMessages(); });
    const double three = NanosecondsPerRound([&] {
        for (int i = 0; i < 3; ++i) ::PostThreadMessageW(thread, kProbeMessage, 0, 0);
        platform.PumpMessages();
    });
    std::printf("pump, empty queue:        %8.0f ns per slice\n", empty);
    std::printf("pump, 3 thread messages:  %8.0f ns per slice (posting included)\n", three);
    return 0;
}
