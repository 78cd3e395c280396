// The link pass. For now it builds the label table; the function tables and
// the loading of nested script files arrive with the engine's call and
// nested-playback steps.
#include "engine/LinkPass.h"

#include "engine/Player.h"
#include "engine/StepTree.h"
#include "script/Event.h"

namespace ovrix {

namespace {

constexpr uint32_t kLabelType = 25;

void BuildLabelTable(EventList& list) {
    list.labels.clear();
    StepPath path;
    for (ResetPath(list, path); !path.empty(); AdvancePath(list, path)) {
        const Event* step = EventAt(list, path);
        if (step != nullptr && step->TypeId() == kLabelType && step->disabled == 0) list.labels[step->name] = path;
    }
}

}  // namespace

bool PrepareScript(Player& /*player*/, EventList& list, uint32_t /*loaderWord*/) {
    BuildLabelTable(list);
    return true;
}

}  // namespace ovrix
