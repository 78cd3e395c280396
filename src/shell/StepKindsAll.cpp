#include "shell/StepKindsAll.h"

#include "actions/KeyboardActions.h"
#include "actions/MouseActions.h"
#include "actions/RecordPlayback.h"
#include "actions/SystemActions.h"
#include "engine/FlowActions.h"
#include "engine/FunctionActions.h"
#include "engine/NestedPlayback.h"
#include "engine/VariableSteps.h"
#include "screen/PictureActions.h"
#include "screen/WindowActions.h"

namespace ovrix {

const StepKinds& PlayerStepKinds() {
    static const StepKinds kinds = [] {
        StepKinds k;
        AddMouseSteps(k);
        AddKeyboardSteps(k);
        AddSystemSteps(k);
        AddRecordSteps(k);
        AddFlowSteps(k);
        AddFunctionSteps(k);
        AddPlaybackSteps(k);
        AddVariableSteps(k);
        AddPictureSteps(k);
        AddWindowSteps(k);
        return k;
    }();
    return kinds;
}

}  // namespace ovrix
