// The link pass: the label table and the function table of a script. The
// loading of nested script files belongs to the nested-playback steps.
#include "engine/LinkPass.h"

#include <memory>

#include "engine/FunctionSteps.h"
#include "engine/Player.h"
#include "engine/ScriptFunctions.h"
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

// Every enabled function definition of the tree enters the list's table.
// The table is made afresh, so a list prepared again holds no stale entry.
bool BuildFunctionTable(Player& player, EventList& list) {
    list.functions = std::make_shared<FunctionTable>(player);
    StepPath path;
    for (ResetPath(list, path); !path.empty(); AdvancePath(list, path)) {
        Event* step = EventAt(list, path);
        if (step == nullptr || step->disabled != 0 || step->TypeId() != FunStartEvent::kTypeId) continue;
        auto& definition = static_cast<FunStartEvent&>(*step);
        if (!list.functions->Add(definition)) {
            player.desktop.ShowMessage(u"Script Error: Function " + definition.functionName + u" redefinition!");
            return false;
        }
    }
    return true;
}

}  // namespace

bool PrepareScript(Player& player, EventList& list, uint32_t /*loaderWord*/) {
    BuildLabelTable(list);
    AdvancePlaybackSerial();
    return BuildFunctionTable(player, list);
}

}  // namespace ovrix
