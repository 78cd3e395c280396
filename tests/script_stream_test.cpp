// Loading and saving script streams: versions, magic, skipped records, the
// loader's messages and the limits of malformed input.
#include <gtest/gtest.h>

#include "SimFixture.h"
#include "actions/KeyboardSteps.h"
#include "actions/SystemSteps.h"
#include "builder/ImageBuilder.h"
#include "container/Tags.h"
#include "script/Event.h"
#include "script/ScriptStream.h"
#include "engine/ScriptLoader.h"
#include "script/StepKinds.h"

namespace ovrix {
namespace {

Region R(const std::vector<uint8_t>& v) { return Region{v.data(), static_cast<uint32_t>(v.size())}; }

EventList ThreeSteps() {
    EventList list;
    auto a = MakeRef<CommentEvent>();
    a->comment = u"first";
    auto b = MakeRef<MsgBoxEvent>();
    b->message = u"second";
    b->name = u"Greeting";
    b->delay = 250;
    auto c = MakeRef<WaitEvent>();
    c->disabled = 1;
    list.Append(a);
    list.Append(b);
    list.Append(c);
    return list;
}

TEST(ScriptStream, SaveThenLoadKeepsHeadersAndOrder) {
    const EventList original = ThreeSteps();
    const auto bytes = SaveStream(original);
    SimFixture f;
    EventList loaded;
    ASSERT_EQ(LoadStreamFromMemory(f.player, R(bytes), loaded), StreamLoad::Loaded);
    ASSERT_EQ(loaded.Count(), 3u);
    EXPECT_TRUE(loaded.IsEqual(original));
    EXPECT_EQ(loaded.At(1)->name, u"Greeting");
    EXPECT_EQ(loaded.At(2)->disabled, 1u);
    EXPECT_EQ(SaveStream(loaded), bytes);

    // A name is written only when not empty.
    RecordBuffer b;
    SaveSteps(original, b);
    const auto step = FindRecord(b.AsRegion(), tag::Step(0));
    ASSERT_TRUE(step);
    EXPECT_FALSE(FindRecord(*step, tag::kName));
    EXPECT_TRUE(FindRecord(*step, tag::kDisabled));
}

TEST(ScriptStream, VersionsAndSizes) {
    const EventList steps = ThreeSteps();
    struct Case {
        std::vector<uint8_t> bytes;
        StreamLoad expected;
        size_t count;
    };
    const std::vector<Case> cases = {
        {StreamBytes(steps, 1), StreamLoad::Loaded, 3},
        {StreamBytes(steps, 119), StreamLoad::Loaded, 3},
        {StreamBytes(steps, 120), StreamLoad::TooNew, 0},
        {StreamBytes(steps, 0), StreamLoad::Invalid, 0},  // no 'VER' at all
        {std::vector<uint8_t>(7, 0x49), StreamLoad::Invalid, 0},
    };
    for (const auto& c : cases) {
        SimFixture f;
        EventList list;
        EXPECT_EQ(LoadStreamFromMemory(f.player, R(c.bytes), list), c.expected);
        EXPECT_EQ(list.Count(), c.count);
        // Only a stream too new says so; the others load or fail silently.
        const auto boxes = f.Events("msgbox");
        if (c.expected != StreamLoad::TooNew) {
            EXPECT_TRUE(boxes.empty());
        } else {
            EXPECT_EQ(boxes, (std::vector<std::string>{
                                 "msgbox 0x0 \"Ovrix\" \"Can not load this version of Script File.\\r\\nYou may need "
                                 "to update Vantorel to the latest version.\""}));
        }
    }
}

TEST(ScriptStream, SkipsUnknownIdsAndNonStepRecords) {
    RecordBuffer stream;
    WriteU32(stream, tag::kStreamMagic, 0);
    WriteU32(stream, tag::kVersion, 100);
    auto step = [&](uint32_t index, uint32_t type, const std::u16string& name) {
        RecordBuffer r;
        if (type != 0) WriteU32(r, tag::kType, type);
        WriteString(r, tag::kName, name);
        WriteContainer(stream, tag::Step(index), r);
    };
    step(0, 43, u"a");
    step(1, 21, u"x");
    step(2, 22, u"x");
    WriteU32(stream, MakeTag("ZZZ"), 1);  // no step bits: skipped
    step(3, 56, u"x");
    step(4, 0, u"x");
    step(5, 999, u"x");
    step(9, 41, u"b");  // the index in the tag is not used
    SimFixture f;
    EventList list;
    ASSERT_TRUE(LoadSteps(stream.AsRegion(), list));
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.At(0)->name, u"a");
    EXPECT_EQ(list.At(1)->name, u"b");
}

TEST(ScriptStream, StepRunningPastTheEndStopsTheLoadButKeepsWhatCameBefore) {
    auto bytes = SaveStream(ThreeSteps());
    bytes.resize(bytes.size() - 3);  // cut into the last step
    EventList list;
    EXPECT_TRUE(LoadSteps(R(bytes), list));
    EXPECT_EQ(list.Count(), 2u);
    // Missing header records take their defaults.
    RecordBuffer stream, r;
    WriteU32(r, tag::kType, 43);
    WriteContainer(stream, tag::Step(0), r);
    EventList one;
    LoadSteps(stream.AsRegion(), one);
    ASSERT_EQ(one.Count(), 1u);
    EXPECT_EQ(one.At(0)->delay, 1000u);
    EXPECT_FALSE(LoadSteps(Region{}, one));
}

TEST(ScriptStream, BlocksNestedBeyondTheLimitLoadEmpty) {
    // 5000 Else blocks, each inside the previous one, built from the inside out.
    RecordBuffer inner;
    for (int level = 0; level < 5000; ++level) {
        RecordBuffer step;
        WriteU32(step, tag::kType, 6);
        if (inner.Used() > 0) WriteContainer(step, tag::kSub, inner);
        RecordBuffer list;
        WriteContainer(list, tag::Step(0), step);
        inner = std::move(list);
    }
    EventList root;
    ASSERT_TRUE(LoadSteps(inner.AsRegion(), root));
    size_t depth = 0;
    for (const EventList* list = &root; list->Count() == 1; list = list->At(0)->GetChildList()) {
        ++depth;
        ASSERT_NE(list->At(0)->GetChildList(), nullptr);
    }
    EXPECT_EQ(depth, kMaxNesting + 1);
    RecordBuffer saved;
    SaveSteps(root, saved);  // the kept part saves and compares without trouble
    EventList again;
    LoadSteps(saved.AsRegion(), again);
    EXPECT_TRUE(again.IsEqual(root));
}

TEST(ScriptLoader, MessagesOfTheLoaderByName) {
    EventList steps = ThreeSteps();
    auto noMagic = StreamBytes(steps, 100, false);
    const auto image = ImageBuilder()
                           .Main(steps)
                           .Script(u"C:\\s\\good.ovx", steps)
                           .ScriptStream(u"nomagic.ovx", noMagic)
                           .ScriptStream(u"short.ovx", {0x51, 0x56, 0x52, 0})
                           .ScriptStream(u"nover.ovx", StreamBytes(steps, 0))
                           .Script(u"new.ovx", steps, 120)
                           .Build();
    struct Case {
        const char16_t* name;
        bool ok;
        const char* message;
    };
    const Case cases[] = {
        {u"c:\\S\\GOOD.ovx", true, nullptr},
        {u"missing.ovx", false, "Can not open file: 'missing.ovx'"},
        {u"nomagic.ovx", false, "Invalid Action Script File Format: 'nomagic.ovx'"},
        {u"short.ovx", false, "Invalid Action Script File Format: 'short.ovx'"},
        {u"nover.ovx", false, "Invalid Action Script File Format: 'nover.ovx'"},
        {u"new.ovx", false, "Can not load this version"},
    };
    for (const auto& c : cases) {
        SimFixture f;
        f.player.image = R(image);
        EventList list;
        list.Append(MakeRef<CommentEvent>());  // the loader empties the list first
        EXPECT_EQ(LoadScriptByName(f.player, c.name, list), c.ok);
        EXPECT_EQ(list.Count(), c.ok ? 3u : 0u);
        const auto boxes = f.Events("msgbox");
        if (c.message == nullptr) {
            EXPECT_TRUE(boxes.empty());
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_NE(boxes[0].find(c.message), std::string::npos) << boxes[0];
        }
    }
}

TEST(ScriptLoader, ScriptFileLoadsInItsFolderAndRestoresTheDirectory) {
    EventList steps = ThreeSteps();
    const auto image = ImageBuilder().Main(steps).Script(u"D:\\Macros\\sub.ovx", steps).Script(u"plain.ovx", steps).Build();
    SimFixture f;
    f.player.image = R(image);
    f.sim.files.AddFolder(u"C:\\Start");
    f.sim.files.AddFolder(u"D:\\Macros");
    f.sim.files.SetCurrentDirectory(u"C:\\Start");
    EventList list;
    EXPECT_TRUE(LoadScriptFile(f.player, u"D:\\Macros\\sub.ovx", list, 0));
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(f.sim.CurrentDirectory(), u"C:\\Start");
    EXPECT_TRUE(LoadScriptFile(f.player, u"plain.ovx", list, 0));
    EXPECT_FALSE(LoadScriptFile(f.player, u"D:\\Other\\none.ovx", list, 0));
    EXPECT_EQ(f.sim.CurrentDirectory(), u"C:\\Start");
}

}  // namespace
}  // namespace ovrix
