#include "ListFormat.h"

#include <cstdio>
#include <functional>

#include "container/Container.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "engine/Runtime.h"
#include "engine/StepTree.h"
#include "platform/Trace.h"
#include "script/Event.h"
#include "script/ScriptStream.h"
#include "shell/StepKindsAll.h"

namespace ovrix {

namespace {

struct ScriptEntry {
    uint32_t index;
    std::u16string name;
    std::optional<Region> stream;
};

// Every script of the image: the main script, then 'I' + n / 'S' + n until
// the first missing name.
std::vector<ScriptEntry> Scripts(Region image) {
    std::vector<ScriptEntry> scripts;
    scripts.push_back({0, ReadString(image, tag::ScriptName(0), u""), FindRecord(image, tag::Stream(0))});
    for (uint32_t n = 1; n <= 0xFFFFFF; ++n) {
        std::u16string name;
        if (!ReadStringIfPresent(image, tag::ScriptName(n), name) || name.empty()) break;
        scripts.push_back({n, name, FindRecord(image, tag::Stream(n))});
    }
    return scripts;
}

std::string Escape(std::u16string_view text) {
    std::string out;
    for (char c : ToUtf8(text)) {
        if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

// Loads a stream the way the player would, without showing messages.
std::string LoadForListing(Region stream, EventList& list) {
    if (stream.size < 8) return "invalid stream (shorter than 8 bytes)";
    const uint32_t version = ReadU32(stream, tag::kVersion, 0);
    if (version == 0) return "invalid stream (no version)";
    if (version > kNewestStreamVersion) return "version " + std::to_string(version) + " is too new";
    if (!LoadSteps(stream, list)) return "invalid stream (no records)";
    return "version " + std::to_string(version);
}

void WalkTree(const EventList& list, const std::function<void(const StepPath&, const Event&)>& visit) {
    StepPath path;
    for (ResetPath(list, path); !path.empty(); AdvancePath(list, path)) {
        if (const Event* step = EventAt(list, path)) visit(path, *step);
    }
}

std::string Setting(Region image, const char* name, uint32_t tagValue, uint32_t fallback) {
    char buf[128];
    const bool present = FindRecord(image, tagValue).has_value();
    std::snprintf(buf, sizeof buf, "  %-5s %u%s\n", name, ReadU32(image, tagValue, fallback),
                  present ? "" : " (default)");
    return buf;
}

}  // namespace

std::string ListImage(const std::vector<uint8_t>& bytes) {
    Runtime runtime(&PlayerStepKinds());  // as in the player, calls show through their descriptors
    const RuntimeScope scope(runtime);
    const Region image{bytes.data(), static_cast<uint32_t>(bytes.size())};
    std::string out = "image: " + std::to_string(bytes.size()) + " bytes\n";
    std::u16string root;
    const bool hasRoot = ReadStringIfPresent(image, tag::kRoot, root);
    out += "settings:\n  ROOT  " + JsonString(root) + (hasRoot ? "" : " (default)") + "\n";
    out += Setting(image, "NOSK", tag::kNoStopKey, 0);
    out += Setting(image, "NOPK", tag::kNoPauseKey, 0);
    out += Setting(image, "HKSK", tag::kStopKey, 113);
    out += Setting(image, "HKSM", tag::kStopModifiers, 1);
    out += Setting(image, "HKPK", tag::kPauseKey, 80);
    out += Setting(image, "HKPM", tag::kPauseModifiers, 2);
    out += Setting(image, "NSTS", tag::kStartHidden, 0);
    out += Setting(image, "SHWP", tag::kShowWhenPaused, 1);
    out += Setting(image, "REP", tag::kRepeat, 1);
    {
        const bool present = FindRecord(image, tag::kRunTime).has_value();
        out += "  RTM   " + std::to_string(ReadI64(image, tag::kRunTime, 0)) + (present ? "" : " (default)") + "\n";
    }
    for (const auto& script : Scripts(image)) {
        out += "script " + std::to_string(script.index) + " " + JsonString(script.name);
        if (!script.stream) {
            out += ": no stream\n";
            continue;
        }
        EventList list;
        out += " (" + LoadForListing(*script.stream, list) + ")\n";
        WalkTree(list, [&](const StepPath& path, const Event& step) {
            out += std::string(2 * path.size(), ' ') + ToUtf8(StepNumberText(path)) + "  ";
            if (step.disabled) out += "[disabled] ";
            if (!step.name.empty()) out += "<" + Escape(step.name) + "> ";
            out += Escape(step.GetText());
            out += "  (" + std::to_string(step.TypeId()) + ", " + std::to_string(step.delay) + " ms)\n";
        });
    }
    return out;
}

std::string ListImageTsv(const std::vector<uint8_t>& bytes) {
    Runtime runtime(&PlayerStepKinds());
    const RuntimeScope scope(runtime);
    const Region image{bytes.data(), static_cast<uint32_t>(bytes.size())};
    std::string out;
    for (const auto& script : Scripts(image)) {
        if (!script.stream) continue;
        EventList list;
        LoadForListing(*script.stream, list);
        WalkTree(list, [&](const StepPath& path, const Event& step) {
            out += std::to_string(script.index) + "\t" + ToUtf8(StepNumberText(path)) + "\t" +
                   std::to_string(step.TypeId()) + "\t" + std::to_string(step.delay) + "\t" +
                   std::to_string(step.disabled) + "\t" + Escape(step.name) + "\t" + Escape(step.GetText()) + "\n";
        });
    }
    return out;
}

}  // namespace ovrix
