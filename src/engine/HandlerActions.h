// What the window-handler steps do when played: attach a handler script to a
// script-made window, for a message or for a control's command. The window's
// procedure later plays the script as a run of its own on the playback
// thread, with the window value and the message's numbers as its arguments.
#pragma once

namespace ovrix {

class StepKinds;

// The rows of the two handler steps and of the thread step, which keeps its
// fields but only waits its delay.
void AddHandlerSteps(StepKinds& kinds);

}  // namespace ovrix
