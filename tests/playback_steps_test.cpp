// The nested-playback, handler and thread steps: the records the loader
// reads, the bytes they save back, their defaults and their text forms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builder/ImageBuilder.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "engine/HandlerSteps.h"
#include "engine/PlaybackSteps.h"
#include "script/ScriptStream.h"
#include "script/StepKinds.h"
#include "StepTestSupport.h"

namespace ovrix {
namespace {

void PutRecorded(std::vector<uint8_t>& out, uint16_t kind, int16_t x, int16_t y, int16_t wheel, uint32_t delay) {
    auto put16 = [&](uint16_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    put16(kind);
    put16(static_cast<uint16_t>(x));
    put16(static_cast<uint16_t>(y));
    put16(static_cast<uint16_t>(wheel));
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(delay >> (8 * i)));
}

// ---------------------------------------------------------------------------
// Play Script

TEST(PlayScriptStep, ArgumentsAreReadUntilTheFirstMissingIndex) {
    auto s = LoadAs<PlayScriptEvent>([](RecordBuffer& b) {
        WriteString(b, MakeTag("FILE"), u"sub.mcr");
        TextExpr(u"first").Save(b, IndexedTag('A', 0));
        NumberExpr(2).Save(b, IndexedTag('A', 1));
        TextExpr(u"orphan").Save(b, IndexedTag('A', 3));
        VariableExpr(u"$r").Save(b, MakeTag("RVAL"));
        WriteU32(b, MakeTag("COPY"), 1);
    });
    EXPECT_EQ(s->arguments.size(), 2u);
    EXPECT_EQ(Text(*s), "Set $r = Call sub(\"first\", 2)");
    EXPECT_EQ(Text(*LoadAs<PlayScriptEvent>()), "Call ()");  // nothing stored
}

TEST(PlayScriptStep, TextShowsResultBindingAndBareFileTitle) {
    auto s = MakeRef<PlayScriptEvent>();
    s->file = u"C:\\my.scripts\\Report.v2.mcr";
    EXPECT_EQ(Text(*s), "Call Report.v2()");
    s->result = VariableExpr(u"$total");
    EXPECT_EQ(Text(*s), "Alias $total = Call Report.v2()");
    s->copyResult = 1;
    s->arguments = {VariableExpr(u"$a")};
    EXPECT_EQ(Text(*s), "Set $total = Call Report.v2($a)");
    // The title drops the folder, of either separator, and the last extension only.
    EXPECT_EQ(ScriptFileTitle(u"a\\b.dir\\name"), u"name");
    EXPECT_EQ(ScriptFileTitle(u"x/y/archive.tar.gz"), u"archive.tar");
    EXPECT_EQ(ScriptFileTitle(u"dir\\"), u"");
}

// ---------------------------------------------------------------------------
// Play Random

TEST(PlayRandomStep, EntriesStopAtFirstMissingFileAndWeightsDefaultToOne) {
    auto s = LoadAs<PlayRandomEvent>([](RecordBuffer& b) {
        WriteString(b, IndexedTag('F', 0), u"a.mcr");
        WriteU32(b, IndexedTag('P', 0), 0);
        WriteString(b, IndexedTag('F', 1), u"b.mcr");
        WriteString(b, IndexedTag('F', 3), u"unreached.mcr");
        WriteU32(b, IndexedTag('P', 3), 9);
    });
    ASSERT_EQ(s->entries.size(), 2u);
    EXPECT_EQ(s->entries[0].weight, 0u);
    EXPECT_EQ(s->entries[1].weight, 1u);
    EXPECT_EQ(Text(*s), "Random Play 2 Scripts");
}

// ---------------------------------------------------------------------------
// Play Record

TEST(PlayRecordStep, InputRecordsAreSignedLittleEndianTwelveByteUnits) {
    std::vector<uint8_t> rec;
    PutRecorded(rec, 0, 300, -5, 0, 20);
    PutRecorded(rec, 7, -1, 40, -240, 0x12345678);
    rec.insert(rec.end(), {1, 2, 3, 4, 5});  // not a whole record
    auto s = LoadAs<PlayRecordEvent>(
        [&](RecordBuffer& b) { WriteRecord(b, MakeTag("REC"), rec.data(), static_cast<uint32_t>(rec.size())); });
    ASSERT_EQ(s->records.size(), 2u);
    EXPECT_EQ(s->records[0], (RecordedInput{RecordedInput::kMove, 300, -5, 0, 20}));
    EXPECT_EQ(s->records[1], (RecordedInput{RecordedInput::kWheel, -1, 40, -240, 0x12345678}));
    // Written back, the whole records are byte for byte those read.
    auto saved = FieldBytes(*s);
    auto back = FindRecord(RegionOf(saved), MakeTag("REC"));
    ASSERT_TRUE(back);
    EXPECT_EQ(std::vector<uint8_t>(back->base, back->base + back->size),
              std::vector<uint8_t>(rec.begin(), rec.begin() + 24));
}

TEST(PlayRecordStep, SpeedIsEightByteRealOrOldWholeNumberTimesHundred) {
    EXPECT_EQ(LoadAs<PlayRecordEvent>()->speed, 100.0);
    EXPECT_EQ(LoadAs<PlayRecordEvent>([](RecordBuffer& b) { WriteF64(b, MakeTag("SPD"), 37.5); })->speed, 37.5);
    EXPECT_EQ(LoadAs<PlayRecordEvent>([](RecordBuffer& b) { WriteU32(b, MakeTag("SPD"), 2); })->speed, 200.0);
}

TEST(PlayRecordStep, EmptyRecordingWritesNoRecordSoLaterFieldsStillLoad) {
    auto s = MakeRef<PlayRecordEvent>();
    s->relative = 1;
    s->speed = 50;
    auto bytes = FieldBytes(*s);
    EXPECT_FALSE(FindRecord(RegionOf(bytes), MakeTag("REC")));
    auto loaded = LoadAs<PlayRecordEvent>([&](RecordBuffer& b) { b.AppendBytes(bytes.data(), bytes.size()); });
    EXPECT_EQ(loaded->speed, 50.0);
    EXPECT_EQ(Text(*loaded), "Play Record, Relative position play mode");
}

// ---------------------------------------------------------------------------
// Handlers and the thread step

TEST(HandlerSteps, TextsShowExpressionsAndHandlerTitlesAndMissingRecordsLeaveDefaults) {
    auto msg = LoadAs<SetWinMsgHandlerEvent>([](RecordBuffer& b) {
        VariableExpr(u"$win").Save(b, MakeTag("WIN"));
        WriteU32(b, MakeTag("MSG"), 513);
        WriteString(b, MakeTag("WMH"), u"h\\on click.mcr");
    });
    EXPECT_EQ(Text(*msg), "WM_LBUTTONDOWN handler of $win = on click");
    msg->message = 0x7FFF;  // not in the table of message names
    EXPECT_EQ(Text(*msg), "32767 handler of $win = on click");

    auto cmd = LoadAs<SetWinCmdHandlerEvent>([](RecordBuffer& b) {
        VariableExpr(u"$dlg").Save(b, MakeTag("WIN"));
        NumberExpr(7).Save(b, MakeTag("CMD"));
        WriteString(b, MakeTag("WCH"), u"ok.mcr");
    });
    EXPECT_EQ(Text(*cmd), "Command 7 handler of $dlg = ok");

    auto thread = LoadAs<CreateThreadEvent>([](RecordBuffer& b) {
        WriteString(b, MakeTag("TS"), u"jobs\\worker.mcr");
        TextExpr(u"x").Save(b, MakeTag("DATA"));
    });
    EXPECT_FALSE(thread->window.Present());
    EXPECT_EQ(Text(*thread), "CreatThread(worker, , \"x\")");

    // Missing records leave defaults, and absent expressions are not written.
    EXPECT_FALSE(FindRecord(RegionOf(FieldBytes(*LoadAs<SetWinMsgHandlerEvent>())), MakeTag("WIN")));
    cmd = LoadAs<SetWinCmdHandlerEvent>();
    EXPECT_FALSE(cmd->control.Present());
    EXPECT_EQ(Text(*cmd), "Command  handler of  = ");
}

}  // namespace
}  // namespace ovrix
