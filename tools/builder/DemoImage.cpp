// The default demo: a short recorded-style macro (move, click, keystroke,
// a pause, a block of steps) played twice, so that a newcomer sees the
// player walk a script, number its steps and repeat it.
#include "builder/DemoImage.h"

#include "actions/KeyboardSteps.h"
#include "actions/MouseSteps.h"
#include "actions/SystemSteps.h"
#include "builder/ImageBuilder.h"
#include "container/Tags.h"
#include "engine/FlowSteps.h"

namespace ovrix {

namespace {

template <class T>
Ref<T> Step(uint32_t delay) {
    auto step = MakeRef<T>();
    step->delay = delay;
    return step;
}

}  // namespace

std::vector<uint8_t> BuildDemoImage() {
    EventList steps;

    auto note = Step<CommentEvent>(0);
    note->comment = u"Ovrix demo: move, click, type and wait";
    steps.Append(note);

    auto move = Step<MousePosEvent>(300);
    move->x = NumberExpr(640);
    move->y = NumberExpr(400);
    steps.Append(move);

    steps.Append(Step<MouseClickEvent>(300));

    auto save = Step<KeystrokeEvent>(300);
    save->ctrl = 1;
    save->keyCount = 1;
    save->keys[0] = 'S';
    steps.Append(save);

    auto wait = Step<WaitEvent>(0);
    wait->milliseconds = 500;
    steps.Append(wait);

    // A disabled block: the player passes over the block step and plays its body.
    auto block = Step<IfVarEvent>(0);
    block->disabled = 1;
    block->condition = VariableExpr(u"$ready");
    auto down = Step<KeyDownEvent>(100);
    down->virtualKey = 0x10;
    auto up = Step<KeyUpEvent>(100);
    up->virtualKey = 0x10;
    block->children.Append(down);
    block->children.Append(up);
    steps.Append(block);

    auto done = Step<WaitEvent>(200);
    done->milliseconds = 200;
    done->name = u"Finished one pass";
    steps.Append(done);

    return ImageBuilder()
        .Root(u"C:\\Macros\\demo.ovx")
        .Main(steps, u"C:\\Macros\\demo.ovx")
        .Setting(tag::kRepeat, 2)
        .Build();
}

}  // namespace ovrix
