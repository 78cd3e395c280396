// The factory slots of the window and picture steps.
#include "screen/PictureSteps.h"
#include "screen/WindowSteps.h"
#include "script/StepFactory.h"

namespace ovrix {

void RegisterScreenSteps(StepCreatorTable& table) {
    table[SearchPicEvent::kTypeId] = &CreateStep<SearchPicEvent>;
    table[CloseWindowEvent::kTypeId] = &CreateStep<CloseWindowEvent>;
    table[SwitchWindowEvent::kTypeId] = &CreateStep<SwitchWindowEvent>;
    table[WaitWindowEvent::kTypeId] = &CreateStep<WaitWindowEvent>;
}

}  // namespace ovrix
