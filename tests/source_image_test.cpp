// The source form of whole images: every step kind written readably and
// compiled back to the same bytes, records the table does not know kept raw,
// pictures as files, and the compiler's messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StepTestSupport.h"
#include "builder/DemoImage.h"
#include "builder/ImageBuilder.h"
#include "platform/PictureRecord.h"
#include "script/StoredExpr.h"
#include "source/ImageSource.h"
#include "source/StepFields.h"

namespace ovrix {
namespace {

std::string SourceOf(const Bytes& image, PictureFiles* files = nullptr) {
    return ToUtf8(WriteImageSource(RegionOf(image), files));
}

Bytes Compile(const std::string& source, PictureFiles* files = nullptr) {
    SourceErrors errors;
    const std::u16string text = FromUtf8(source);
    auto image = CompileImageSource(text, errors, files);
    EXPECT_TRUE(image.has_value()) << errors.Format("test.ovs", text);
    return image.value_or(Bytes{});
}

std::string CompileErrors(const std::string& source) {
    SourceErrors errors;
    const std::u16string text = FromUtf8(source);
    EXPECT_FALSE(CompileImageSource(text, errors, nullptr).has_value());
    return errors.Format("t.ovs", text);
}

Bytes ImageOfStream(const Bytes& stream) { return ImageBuilder().MainStream(stream, u"main").Build(); }

TEST(SourceImage, EveryStepKindRoundTripsInItsReadableForm) {
    for (uint32_t id = 1; id <= kMaxTypeId; ++id) {
        SCOPED_TRACE("type id " + std::to_string(id));
        const Ref<Event> fresh = CreateEvent(id);
        ASSERT_EQ(fresh.Get() != nullptr, FindStepForm(id) != nullptr) << "the table and the factory disagree";
        if (!fresh) continue;
        // The records of a default-made step and of a step with every field
        // set, both as the step's own Save writes them after loading.
        const RecordBuffer rich = RichRecord(*FindStepForm(id));
        const Bytes loose = StreamOf({{id, {}}});
        RecordBuffer looseStream;
        looseStream.AppendBytes(loose.data(), loose.size());
        EventList list;
        list.Append(fresh);
        RecordBuffer richStream;
        WriteContainer(richStream, tag::Step(0), rich);
        LoadSteps(richStream.AsRegion(), list);
        ASSERT_EQ(list.Count(), 2u);
        const Bytes image = ImageBuilder().Main(list, u"main").Build();

        const std::string source = SourceOf(image);
        // Every record the steps' Save wrote has a row, in Save's order.
        EXPECT_EQ(source.find("record "), std::string::npos) << source;
        EXPECT_EQ(source.find("tail"), std::string::npos) << source;
        EXPECT_EQ(source.find("! "), std::string::npos) << source;
        EXPECT_EQ(Compile(source), image) << source;
    }
}

// The table's defaults are the step classes' own: a bare step word compiles
// to the record a fresh step of the kind saves.
TEST(SourceImage, BareStepWordsCompileToWhatAFreshStepSaves) {
    for (const StepForm& form : AllStepForms()) {
        SCOPED_TRACE(ToUtf8(form.word));
        EventList list;
        list.Append(CreateEvent(form.typeId));
        RecordBuffer saved;
        SaveSteps(list, saved);
        const Bytes compiled = Compile("script 0\n  " + ToUtf8(form.word) + "\n");
        const auto stream = FindRecord(RegionOf(compiled), tag::Stream(0));
        ASSERT_TRUE(stream.has_value());
        EXPECT_EQ(Bytes(stream->base, stream->base + stream->size), saved.ToVector());
    }
}

TEST(SourceImage, FieldsAndValuesReadInAnyForm) {
    // Fields in any order and words in any letter case give the same record.
    EXPECT_EQ(Compile("script 0\n  MouseClick click=double, button=right\n"),
              Compile("script 0\n  mouseclick  button = right ,click=1\n"));
    const struct {
        const char* line;
        const char* listed;  // how the writer shows the compiled record
    } cases[] = {
        {"PosRandom left=-5, top=4294967295", "PosRandom left=-5, top=-1"},
        {"Wait ms=-9223372036854775808", "Wait ms=-9223372036854775808"},
        {"PlayRecord speed=inf", "PlayRecord speed=inf"},
        {"PlayRecord speed=-0.0", "PlayRecord speed=-0.0"},
        {"MsgBox message=\"tab\\tnul\\u{0}\\u{D800}\u00e9\"", "MsgBox message=\"tab\\tnul\\u{0}\\u{D800}\u00e9\""},
        {"KeyDown key=0xFFFFFFFF", "KeyDown key=4294967295"},
        {"MouseEvent action=9", "MouseEvent action=9"},
        {"InputText paste=2", "InputText paste=2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string listed = SourceOf(Compile(std::string("script 0\n  ") + c.line + "\n"));
        EXPECT_NE(listed.find(std::string("\n  ") + c.listed + "\n"), std::string::npos) << listed;
    }
    const std::string errors = CompileErrors(
        "script 0\n  KeyDown key=4294967296\n  PosRandom left=-2147483649\n  InputText paste=yes\n"
        "  Wait ms=1 random=true\n  SearchPic picture=picture\"../x.png\"\n");
    for (const char* text : {"t.ovs:2:15: error: number too large: at most 4294967295",
                             "t.ovs:3:18: error: number out of range: from -2147483648 to 4294967295", "t.ovs:4:19: error: expected true, false or a number",
                             "t.ovs:5:13: error: expected ',' and the next field",
                             "t.ovs:6:21: error: cannot read the picture file \"../x.png\""}) {
        EXPECT_NE(errors.find(text), std::string::npos) << text << "\nin:\n" << errors;
    }
}

TEST(SourceImage, RecordsTheTableDoesNotKnowAreKeptRaw) {
    auto step = [](uint32_t type, std::vector<std::pair<uint32_t, Bytes>> records) {
        RecordBuffer record;
        WriteU32(record, tag::kType, type);
        for (const auto& [t, data] : records) WriteRecord(record, t, data.data(), static_cast<uint32_t>(data.size()));
        return record;
    };
    auto stream = [](std::vector<std::pair<uint32_t, RecordBuffer>> steps, Bytes tail = {}) {
        RecordBuffer s;
        WriteU32(s, tag::kStreamMagic, 0);
        WriteU32(s, tag::kVersion, 119);
        for (const auto& [t, r] : steps) WriteContainer(s, t, r);
        s.AppendBytes(tail.data(), tail.size());
        return ImageOfStream(s.ToVector());
    };
    const uint32_t button = MakeTag("MBTN"), click = MakeTag("CLKT");
    const struct {
        const char* label;
        Bytes image;
        const char* shows;
    } cases[] = {
        {"fields out of order", stream({{tag::Step(0), step(5, {{click, U32Data(1)}, {button, U32Data(2)}})}}),
         "MouseClick! click=double, button=right"},
        {"an unknown record", stream({{tag::Step(0), step(5, {{button, U32Data(2)}, {MakeTag("ZZZ"), {7}}})}}),
         "'ZZZ'=hex\"07\""},
        {"a record of the wrong length", stream({{tag::Step(0), step(5, {{button, {2, 0}}})}}), "'MBTN'=hex\"0200\""},
        {"bytes behind the last record", stream({{tag::Step(0), [&] {
                                                     RecordBuffer r = step(13, {});
                                                     r.AppendBytes("\1\2\3", 3);
                                                     return r;
                                                 }()}}),
         "tail=hex\"010203\""},
        {"a text without its zero unit", stream({{tag::Step(0), step(13, {{MakeTag("MSG"), {'a', 0}}})}}),
         "'MSG'=hex\"6100\""},
        {"an unused type id", stream({{tag::Step(0), step(21, {})}}), "record 0x49000000 hex"},
        {"a step out of its place", stream({{tag::Step(3), step(7, {})}, {tag::Step(1), step(7, {})}}),
         "record 0x49000003"},
        {"a stream's tail", stream({{tag::Step(0), step(9, {})}}, {0xFF, 0xFF}), "tail hex\"ffff\""},
        {"a setting of the wrong length",
         ImageBuilder().Setting(tag::kRepeat, 2).Raw(tag::kRunTime, {1, 0, 0, 0}).Raw(MakeTag("XTRA"), {9}).Build(),
         "record 'RTM' hex\"01000000\"\nrecord 'XTRA' hex\"09\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string source = SourceOf(c.image);
        EXPECT_NE(source.find(c.shows), std::string::npos) << source;
        EXPECT_EQ(Compile(source), c.image) << source;
    }
}

TEST(SourceImage, ProjectImagesRoundTripAndRecompileIdentically) {
    const Bytes demo = BuildDemoImage();
    EXPECT_EQ(Compile(SourceOf(demo)), demo);

    const std::string written = R"(# every line kind once
root "C:\\Macros\\m.ovx"
repeat timed
runTime 60000
stopModifiers shift+ctrl
pauseModifiers 17
script 0 "m.ovx"
  magic
  version 119
  Label name="top", delay=0
  ForLoop loop=range, variable="$i", from=stored"45505954 04000000 01010000 474c464e 04000000 00000000 4d554e00 08000000 00000000 0000f03f"
    MouseClick button=right, click=double, disabled=true
    Keystroke! ctrl=true, keyCount=1, keys=hex"41", 'ZZ'=hex"00"
  Next
  FunStart function="f", arg="$a":1, arg="$b":0
    Wait ms=-5, random=true
  SwitchCase case=1, case=0xFF, case="one, two"
    GoTo label="top"
  PlayRandom script="a.ovx", weight=3, script="b.ovx"
name 4 "unused"
script 1 "helper.ovx"
  version 5
  tail hex"0102"
)";
    const Bytes first = Compile(written);
    const std::string listed = SourceOf(first);
    const Bytes second = Compile(listed);
    EXPECT_EQ(second, first) << listed;
    EXPECT_EQ(SourceOf(second), listed);
    EXPECT_NE(listed.find("\nstopModifiers shift+ctrl\npauseModifiers 17\n"), std::string::npos) << listed;
    // Left-out fields take their defaults, as Save writes them.
    EventList main;
    const auto stream = FindRecord(RegionOf(first), tag::Stream(0));
    ASSERT_TRUE(stream.has_value());
    LoadSteps(*stream, main);
    ASSERT_EQ(main.Count(), 6u);
    EXPECT_EQ(main.Steps()[0]->delay, 0u);
    EXPECT_EQ(main.Steps()[2]->delay, 1000u);
    EXPECT_EQ(ToUtf8(main.Steps()[4]->GetText()).substr(0, 13), "Case 1,0xFF,\"");
}

TEST(SourceImage, PicturesGoToFilesThatCompileBackToTheSameRecords) {
    RecordBuffer record;
    const Bytes picture = PictureContainer();
    const Bytes bitmap = {'B', 'M', 1, 2, 3};
    WriteU32(record, tag::kType, 2);
    WriteRecord(record, MakeTag("BMPN"), picture.data(), static_cast<uint32_t>(picture.size()));
    WriteRecord(record, 0x31504D42u, bitmap.data(), static_cast<uint32_t>(bitmap.size()));  // 'BMP1'
    RecordBuffer stream;
    WriteContainer(stream, tag::Step(0), record);
    const Bytes image = ImageOfStream(stream.ToVector());

    PictureFiles files;
    files.SetPrefix(u"m");
    const std::string source = SourceOf(image, &files);
    EXPECT_NE(source.find("picture=picture\"m-1.png\""), std::string::npos) << source;
    EXPECT_NE(source.find("morePicture=file\"m-2.bmp\""), std::string::npos) << source;
    ASSERT_EQ(files.Files().size(), 2u);
    EXPECT_EQ(files.Files().at(u"m-2.bmp"), bitmap);
    EXPECT_EQ(Compile(source, &files), image);
    // Without a folder the same pictures are written inline.
    EXPECT_EQ(SourceOf(image).find("picture\""), std::string::npos);
    EXPECT_EQ(Compile(SourceOf(image)), image);
}

TEST(SourceImage, DeepNestingIsBounded) {
    // An image nested deeper than a source may be is still written exactly.
    RecordBuffer list;
    WriteContainer(list, tag::Step(0), [] {
        RecordBuffer r;
        WriteU32(r, tag::kType, 7);
        return r;
    }());
    for (int depth = 0; depth < 100; ++depth) {
        RecordBuffer block;
        WriteU32(block, tag::kType, 6);
        WriteContainer(block, tag::kSub, list);
        list.Clear();
        WriteContainer(list, tag::Step(0), block);
    }
    const Bytes image = ImageOfStream(list.ToVector());
    EXPECT_EQ(Compile(SourceOf(image)), image);

    std::string deep = "script 0\n";
    for (size_t depth = 1; depth < 100; ++depth) deep += std::string(depth, ' ') + "Else\n";
    EXPECT_NE(CompileErrors(deep).find("nested too deeply: at most 64 levels"), std::string::npos);
}

TEST(SourceImage, ErrorsNamePlaceExpectationAndGoOn) {
    const std::string errors = CompileErrors(
        "repeet 3\n"
        "script 0\n"
        "  MouseClik\n"
        "  MouseClick buton=right, click=2\n"
        "  MouseClick button=rigt\n"
        "  IfVar\n"
        "      MsgBox\n"
        "    MsgBox message=\"open\n"
        "  Next\n"
        "    EndIf\n"
        "  Keystroke keys=hex\"4\"\n"
        "  Wait ms=1, ms=2\n"
        "  PlayRandom weight=2\n");
    const char* expected[] = {
        "t.ovs:1:1: error: unknown line 'repeet': expected a setting, script, name, record or tail; did you mean "
        "repeat?\n    repeet 3\n    ^\n",
        "t.ovs:3:3: error: unknown step word 'MouseClik'; did you mean MouseClick",
        "t.ovs:4:14: error: MouseClick has no field 'buton'; did you mean button?\n"
        "      MouseClick buton=right, click=2\n                 ^\n",
        "t.ovs:5:21: error: unknown button 'rigt': expected one of left, middle, right or a number",
        "t.ovs:8:5: error: bad indentation: expected 6 spaces, as the lines above at this level, or fewer than 3 to "
        "close the block",
        "t.ovs:8:20: error: text not closed",
        "t.ovs:10:5: error: unexpected indentation: Next takes no nested steps",
        "t.ovs:11:22: error: expected a pair of hex digits or the closing '\"'",
        "t.ovs:12:14: error: field 'ms' given twice",
        "t.ovs:13:14: error: 'weight' belongs to an item: write 'script=' before it",
    };
    size_t from = 0;
    for (const char* text : expected) {
        const size_t at = errors.find(text, from);
        EXPECT_NE(at, std::string::npos) << "missing, or out of order: " << text << "\nin:\n" << errors;
        if (at != std::string::npos) from = at;
    }
}

}  // namespace
}  // namespace ovrix
