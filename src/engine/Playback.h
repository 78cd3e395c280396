// Playing a step list: beginning and ending playback, the run of one list,
// the step display, the step delay and the waiting primitive that every timed
// action uses.
//
// A run pushes a Context on the thread's stack, prepares its loops and
// switches, then walks the tree: it shows each step, lets ExecuteStep
// perform it and follows the jump the step asked for.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Context.h"
#include "script/EventList.h"
#include "engine/PlaybackFlags.h"
#include "platform/ProgressWindow.h"

namespace ovrix {

struct Player;
class Event;

constexpr uint32_t kWaitSlice = 50;

// Starts a playback: clears the run's state, records the mouse state and
// opens the progress window with the behaviour the shell hands in.
void BeginPlayback(Player& player, std::unique_ptr<ProgressWindowBehaviour> progressWindow);
void EndPlayback(Player& player);

// Plays the list in a new Context. The control, when given, is called with
// the new Context before the first step; nested = 0 shows the list's file
// name (when it was loaded from one) on the script line during the run.
void RunEventList(Player& player, EventList& list, const ArgumentList* arguments, int nested,
                  const Context::Control* control = nullptr);

// Waits ms in slices, pumping messages and honouring pause; returns early when
// the stop flag is set (none: the wait always runs to its end). The sleep
// per slice is min(ms, slice), so a 120 ms wait with 50 ms slices sleeps
// 150 ms.
void PlaybackWait(Player& player, uint32_t ms, uint32_t pauseArgument, uint32_t slice,
                  const std::atomic<uint32_t>* stopFlag = &StopRequest);
void CheckPause(Player& player, uint32_t pauseArgument);

// The status a step shows when it finishes without one of its own: "Step
// Complete" from the start of every step, or the status the latest step
// that finished with one gave. A step that plays other steps therefore
// shows what the last of them left.
std::u16string& StatusText();

// Shows the status text when the step has a delay, then waits it. A status
// given becomes the status text.
void FinishStep(Player& player, const Event& step, std::optional<std::u16string_view> status = std::nullopt,
                uint32_t pauseArgument = 0);

// Writes the current step's display text to the step line and empties the
// status line.
void ShowStepText(Player& player, const Context& context);

// "Step 1.2: " + the step's name, or its text form when it has no name.
std::u16string StepDisplayText(const StepPath& path, const Event& step);

}  // namespace ovrix
