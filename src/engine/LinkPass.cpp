// The link pass: the label table and the function table of a script, and
// the script files its steps play, each loaded once into the script cache.
#include "engine/LinkPass.h"

#include <memory>

#include "container/Text.h"
#include "engine/FunctionSteps.h"
#include "engine/HandlerSteps.h"
#include "engine/PlaybackSteps.h"
#include "engine/Player.h"
#include "engine/ScriptFunctions.h"
#include "engine/StepTree.h"
#include "script/Event.h"
#include "engine/ScriptLoader.h"

namespace ovrix {

namespace {

void BuildLabelTable(EventList& list) {
    list.labels.clear();
    StepPath path;
    for (ResetPath(list, path); !path.empty(); AdvancePath(list, path)) {
        const Event* step = EventAt(list, path);
        if (step != nullptr && step->TypeId() == LabelEvent::kTypeId && step->disabled == 0) {
            list.labels[step->name] = path;
        }
    }
}

// The loaded list of a script file a step names. The list enters the cache
// before it is loaded, so scripts that play each other load once each and
// the link pass does not recurse without end.
bool LinkScriptFile(Player& player, std::u16string_view file, uint32_t loaderWord, EventList*& target) {
    const std::u16string path = ResolveScriptPath(player, file);
    const std::u16string key = LowerCase(path);
    if (const auto found = player.scriptCache.find(key); found != player.scriptCache.end()) {
        target = found->second.get();
        return true;
    }
    auto& slot = player.scriptCache[key];
    slot = std::make_unique<EventList>();
    target = slot.get();
    player.scriptPaths[target] = path;
    return LoadScriptFile(player, path, *target, loaderWord);
}

bool LinkStep(Player& player, Event& step, uint32_t loaderWord) {
    switch (step.TypeId()) {
        case PlayScriptEvent::kTypeId: {
            auto& play = static_cast<PlayScriptEvent&>(step);
            return LinkScriptFile(player, play.file, loaderWord, play.script);
        }
        case PlayRandomEvent::kTypeId: {
            auto& play = static_cast<PlayRandomEvent&>(step);
            play.totalWeight = 0;
            for (auto& entry : play.entries) {
                if (!LinkScriptFile(player, entry.file, loaderWord, entry.script)) return false;
                play.totalWeight += entry.weight;
            }
            return true;
        }
        case SetWinMsgHandlerEvent::kTypeId: {
            auto& handler = static_cast<SetWinMsgHandlerEvent&>(step);
            return LinkScriptFile(player, handler.handlerFile, loaderWord, handler.handler);
        }
        case SetWinCmdHandlerEvent::kTypeId: {
            auto& handler = static_cast<SetWinCmdHandlerEvent&>(step);
            return LinkScriptFile(player, handler.handlerFile, loaderWord, handler.handler);
        }
        default: return true;
    }
}

// Every enabled function definition of the tree enters the list's table, and
// every enabled step that plays a script file gets its loaded list. The
// table is made afresh, so a list prepared again holds no stale entry.
bool LinkSteps(Player& player, EventList& list, uint32_t loaderWord) {
    list.functions = std::make_shared<FunctionTable>(player);
    StepPath path;
    for (ResetPath(list, path); !path.empty(); AdvancePath(list, path)) {
        Event* step = EventAt(list, path);
        if (step == nullptr || step->disabled != 0) continue;
        if (!LinkStep(player, *step, loaderWord)) return false;
        if (step->TypeId() != FunStartEvent::kTypeId) continue;
        auto& definition = static_cast<FunStartEvent&>(*step);
        if (!list.functions->Add(definition)) {
            player.desktop.dialogs.ShowMessage(u"Script Error: Function " + definition.functionName +
                                               u" redefinition!");
            return false;
        }
    }
    return true;
}

}  // namespace

bool PrepareScript(Player& player, EventList& list, uint32_t loaderWord) {
    BuildLabelTable(list);
    // Calls resolved earlier in this playback stay cached (the serial moves
    // with each playback), unless they may point into the function table this
    // pass replaces. A list linked for the first time, as every nested script
    // load is, has no table yet.
    if (list.functions) AdvancePlaybackSerial();
    return LinkSteps(player, list, loaderWord);
}

}  // namespace ovrix
