// The factory slots of the nested-playback, handler and thread steps.
#include "engine/HandlerSteps.h"
#include "engine/PlaybackSteps.h"
#include "script/StepFactory.h"

namespace ovrix {

void RegisterPlaybackSteps(StepCreatorTable& table) {
    table[PlayRecordEvent::kTypeId] = &CreateStep<PlayRecordEvent>;
    table[PlayScriptEvent::kTypeId] = &CreateStep<PlayScriptEvent>;
    table[PlayRandomEvent::kTypeId] = &CreateStep<PlayRandomEvent>;
    table[SetWinMsgHandlerEvent::kTypeId] = &CreateStep<SetWinMsgHandlerEvent>;
    table[SetWinCmdHandlerEvent::kTypeId] = &CreateStep<SetWinCmdHandlerEvent>;
    table[CreateThreadEvent::kTypeId] = &CreateStep<CreateThreadEvent>;
}

}  // namespace ovrix
