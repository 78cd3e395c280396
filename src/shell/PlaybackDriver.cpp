#include "shell/PlaybackDriver.h"

#include <cstdio>

#include "container/Tags.h"
#include "container/Text.h"
#include "engine/LinkPass.h"
#include "engine/Playback.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "engine/ScriptLoader.h"
#include "expr/KindsValue.h"
#include "expr/Variables.h"
#include "script/ScriptStream.h"
#include "shell/PlayerBuiltinHost.h"
#include "shell/ProgressWindowLogic.h"
#include "shell/StepKindsAll.h"

namespace ovrix {

std::u16string RepeatLineText(Player& player, int64_t startTime) {
    char buf[96];
    const uint32_t repeat = player.settings.repeat;
    if (repeat != kRepeatByTime) {
        std::snprintf(buf, sizeof buf, "Repeat %d times, current %d", static_cast<int>(repeat),
                      static_cast<int>(player.passCounter));
    } else {
        LocalTime t;
        if (!player.desktop.clock.ToLocalTime(startTime, t)) t.hour = t.minute = t.second = -1;
        std::snprintf(buf, sizeof buf, "Started at %02d:%02d:%02d, current %d", t.hour, t.minute, t.second,
                      static_cast<int>(player.passCounter));
    }
    return Widen(buf);
}

namespace {

void PlayPasses(Player& player, EventList& mainList) {
    const PlaybackSettings& s = player.settings;
    const int64_t startTime = player.desktop.clock.Now();
    const int64_t endTime = startTime + s.runTimeMs / 1000;
    player.passCounter = 0;
    ArgumentList arguments;
    for (const std::u16string& argument : player.arguments) arguments.push_back(MakeItem<ExprItem_Text>(argument));
    while (true) {
        if (player.passCounter != 0xFFFFFFFF) ++player.passCounter;
        ClearPassVariables();  // '#' variables keep their values from pass to pass
        player.desktop.progress.SetLine(ProgressLine::Repeat, RepeatLineText(player, startTime));
        SetFlag(ResetRequest, 0);
        RunEventList(player, mainList, &arguments, 1);
        if (IsSet(StopRequest)) break;
        if (s.repeat != kRepeatByTime) {
            if (player.passCounter >= s.repeat) break;
        } else if (player.desktop.clock.Now() >= endTime) {
            break;
        }
    }
}

}  // namespace

void RunPlaybackDriver(Player& player, Region image) {
    player.runtime.stepKinds = &PlayerStepKinds();
    const RuntimeScope runtime(player.runtime);
    PlayerBuiltinHost host(player);
    player.image = image;
    const std::u16string root = ReadString(image, tag::kRoot, u"");
    const auto mainStream = FindRecord(image, tag::Stream(0));
    if (mainStream) {
        const size_t slash = root.rfind(u'\\');
        if (slash != std::u16string::npos && slash > 0) player.baseFolder = root.substr(0, slash);

        EventList mainList;
        LoadStreamFromMemory(player, *mainStream, mainList);
        if (!PrepareScript(player, mainList, 0)) return;  // the caller closes the dialog
        player.settings = PlaybackSettings::Read(image);
        BeginPlayback(player, std::make_unique<ProgressWindowLogic>(player.settings.window, player.desktop.input));
        PlayPasses(player, mainList);
    }
    EndPlayback(player);
}

}  // namespace ovrix
