// Fuzzes everything that reads untrusted bytes: the input is taken as a
// whole image (settings, embedded-script lookup, listing, a short playback
// on the simulated desktop), as a bare script stream (every step that loads
// is shown, saved, reloaded and compared), as one stored expression, as a
// stored picture in both its forms (a picture container, a bitmap file or
// any other image file), as a desktop description (read, then searched for
// windows with a title pattern cut from the input) and as a window title
// pattern.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "DesktopFile.h"
#include "ListFormat.h"
#include "builtins/WindowSearch.h"
#include "container/Container.h"
#include "container/Image.h"
#include "container/Tags.h"
#include "engine/Runtime.h"
#include "platform/PictureRecord.h"
#include "platform/sim/PictureCodec.h"
#include "platform/sim/SimPlay.h"
#include "expr/ExprItem.h"
#include "expr/ExprReader.h"
#include "expr/VariableFrame.h"
#include "script/Event.h"
#include "script/ScriptStream.h"
#include "engine/PlaybackSettings.h"
#include "shell/StepKindsAll.h"

using namespace ovrix;

namespace {

void ExerciseSteps(const EventList& list) {
    for (const auto& step : list.Steps()) {
        (void)step->GetText();
        (void)step->GetTypeKey();
        auto copy = step->Clone();
        if (!copy->IsEqual(*step)) __builtin_trap();
        if (const EventList* children = step->GetChildList()) ExerciseSteps(*children);
    }
}

void ExerciseStream(Region stream) {
    EventList list;
    if (!LoadSteps(stream, list)) return;
    ExerciseSteps(list);
    // Saving normalises a malformed step once (a half-stored coordinate pair
    // loads as nothing and then saves as nothing, which loads as the older
    // form's 0, 0); from then on save and load must lose nothing.
    RecordBuffer first;
    SaveSteps(list, first);
    EventList normalised;
    LoadSteps(first.AsRegion(), normalised);
    RecordBuffer second;
    SaveSteps(normalised, second);
    EventList again;
    LoadSteps(second.AsRegion(), again);
    RecordBuffer third;
    SaveSteps(again, third);
    if (!again.IsEqual(normalised)) __builtin_trap();
    if (second.ToVector() != third.ToVector()) __builtin_trap();
}

// The input as one stored expression: shown, marked, cloned, saved and read
// back (which must save the same bytes again; display texts may differ, since
// identity kinds show their identity), and evaluated in a frame of its own.
void ExerciseExpression(Region region) {
    const PExprItem node = ReadExprItem(region);
    if (!node.HasValue()) return;
    (void)node->GetDisplayText();
    (void)node->GetMarkedText();
    (void)node->Clone();
    const RecordBuffer saved = SaveExprItem(node);
    const PExprItem again = ReadExprItem(saved.AsRegion());
    if (!again.HasValue() || SaveExprItem(again).ToVector() != saved.ToVector()) __builtin_trap();
    VariableFrame frame;
    CurrentFrameScope scope(frame);
    (void)node->Evaluate();
}

// The input as a desktop description, and its first half as a title pattern
// over the second half and over the described windows.
void ExerciseDesktop(const std::vector<uint8_t>& bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    const std::u16string_view pattern = std::u16string_view(units).substr(0, units.size() / 2);
    (void)MatchPattern(pattern, std::u16string_view(units).substr(units.size() / 2));
    std::string error;
    const auto description = ParseDesktopDescription(text, "fuzz.json", error);
    if (!description) return;
    SimPlatform sim;
    description->ApplyTo(sim);
    (void)FindWindowByTitle(sim.windows, pattern);
    (void)ListWindowsMatching(sim.windows, pattern, u"", u"");
}

// A picture read from either form holds exactly its pixels; written again in
// the container form it reads back the same.
void ExercisePicture(Region region) {
    for (std::optional<VBmp> picture : {ReadPictureRecord(region), DecodePicture(region.Bytes())}) {
        if (!picture) continue;
        if (picture->width <= 0 || picture->height <= 0 ||
            picture->pixels.size() != static_cast<size_t>(picture->width) * picture->height * 4) {
            __builtin_trap();
        }
        RecordBuffer saved;
        WritePictureRecord(saved, *picture);
        if (ReadPictureRecord(saved.AsRegion()) != picture) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    // Copy into an exact-size buffer so that any read past the end is caught.
    const std::vector<uint8_t> bytes(data, data + size);
    const Region image{bytes.data(), static_cast<uint32_t>(bytes.size())};

    (void)PlaybackSettings::Read(image);
    (void)LookupEmbeddedScript(image, u"a");
    (void)ListImage(bytes);
    (void)ListImageTsv(bytes);
    {
        Runtime runtime(&PlayerStepKinds());  // as in the player: calls resolve as they load
        const RuntimeScope scope(runtime);
        ExerciseStream(image);
        ExerciseExpression(image);
        if (auto main = FindRecord(image, tag::Stream(0))) ExerciseStream(*main);
    }
    ExercisePicture(image);

    ExerciseDesktop(bytes);

    SimPlayOptions options;
    // Virtual time only: a costly clock and a short limit keep runaway repeat
    // rules (a huge 'REP' over an empty script) from slowing the search.
    options.desktop.callCostUs = 1000;
    options.desktop.maxMs = 50;
    (void)PlayOnSim(bytes, options);
    return 0;
}
