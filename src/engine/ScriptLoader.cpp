#include "engine/ScriptLoader.h"

#include "builtins/Registry.h"
#include "container/Image.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "engine/LinkPass.h"
#include "engine/Player.h"
#include "script/ScriptStream.h"

namespace ovrix {

namespace {

std::u16string Format1(std::u16string_view pattern, std::u16string_view arg) {
    return ReplaceAll(pattern, u"%s", arg);
}

}  // namespace

std::u16string ResolveScriptPath(const Player& player, std::u16string_view path) {
    if (path.size() >= 2 && path[1] == u':') return std::u16string(path);
    return player.baseFolder + u"\\" + std::u16string(path);
}

StreamLoad LoadStreamFromMemory(Player& player, Region data, EventList& list) {
    if (data.base == nullptr || data.size < 8) return StreamLoad::Invalid;
    const uint32_t version = ReadU32(data, tag::kVersion, 0);
    if (version == 0) return StreamLoad::Invalid;
    if (version > kNewestStreamVersion) {
        player.desktop.dialogs.ShowMessage(kVersionTooNewMessage);
        return StreamLoad::TooNew;
    }
    return LoadSteps(data, list) ? StreamLoad::Loaded : StreamLoad::Invalid;
}

bool LoadScriptByName(Player& player, std::u16string_view name, EventList& list) {
    list.Clear();
    const auto stream = LookupEmbeddedScript(player.image, name);
    if (!stream) {
        player.desktop.dialogs.ShowMessage(Format1(u"Can not open file: '%s'", name));
        return false;
    }
    const std::u16string invalid = Format1(u"Invalid Action Script File Format: '%s'", name);
    if (stream->size <= 4 || LoadU32(stream->base) != tag::kStreamMagic) {
        player.desktop.dialogs.ShowMessage(invalid);
        return false;
    }
    switch (LoadStreamFromMemory(player, *stream, list)) {
        case StreamLoad::Loaded: return true;
        case StreamLoad::TooNew: return false;
        case StreamLoad::Invalid: break;
    }
    player.desktop.dialogs.ShowMessage(invalid);
    return false;
}

bool LoadScriptFile(Player& player, std::u16string_view path, EventList& list, uint32_t loaderWord) {
    const size_t slash = path.rfind(u'\\');
    const std::u16string_view folder = slash == std::u16string_view::npos ? u"" : path.substr(0, slash);
    if (folder.empty()) return LoadScriptByName(player, path, list);

    std::u16string remembered = player.desktop.files.GetCurrentDirectory();
    if (remembered.size() > 260) remembered.resize(260);
    player.desktop.files.SetCurrentDirectory(folder);
    bool ok = LoadScriptByName(player, path, list);
    if (ok) ok = PrepareScript(player, list, loaderWord);
    player.desktop.files.SetCurrentDirectory(remembered);
    return ok;
}

}  // namespace ovrix
