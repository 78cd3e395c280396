// Registers the mouse, keyboard, system and file steps with the factory.
#include "actions/KeyboardSteps.h"
#include "actions/MouseSteps.h"
#include "actions/SystemSteps.h"
#include "script/StepFactory.h"

namespace ovrix {

namespace {

template <class... Steps>
void Register(StepCreatorTable& table) {
    ((table[Steps::kTypeId] = &CreateStep<Steps>), ...);
}

}  // namespace

void RegisterInputSteps(StepCreatorTable& table) {
    Register<MouseEvent, MouseClickEvent, MoveMouseEvent, DragMouseEvent, MousePosEvent, PosRandomEvent,
             KeystrokeEvent, KeyDownEvent, KeyUpEvent, InputTextEvent, OpenFileEvent, OpenWebEvent, CopyFileEvent,
             DelFileEvent, MsgBoxEvent, ShutdownEvent, WaitEvent, CommentEvent>(table);
}

}  // namespace ovrix
