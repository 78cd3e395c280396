// The window and picture steps: the records the loader reads, the bytes they
// save back, their defaults, their "If" forms as condition blocks and their
// text forms.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "builder/ImageBuilder.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "screen/PictureSteps.h"
#include "screen/WindowSteps.h"
#include "script/ScriptStream.h"
#include "script/StepFactory.h"
#include "StepTestSupport.h"

namespace ovrix {
namespace {

// A list holding a leading close-window step and then one step record of `type`
// with the given class records, through the real loader.
struct Loaded {
    EventList list;
    Event* step = nullptr;
};

std::unique_ptr<Loaded> LoadWithLeader(uint32_t type, const FieldWriter& fields) {
    RecordBuffer first;
    WriteU32(first, tag::kType, CloseWindowEvent::kTypeId);
    RecordBuffer record;
    WriteU32(record, tag::kType, type);
    fields(record);
    RecordBuffer container;
    WriteContainer(container, tag::Step(0), first);
    WriteContainer(container, tag::Step(1), record);
    auto loaded = std::make_unique<Loaded>();
    LoadSteps(container.AsRegion(), loaded->list);
    if (loaded->list.Count() == 2) loaded->step = loaded->list.At(1);
    return loaded;
}

template <class T>
T& As(const Loaded& loaded) {
    T* typed = dynamic_cast<T*>(loaded.step);
    if (typed == nullptr) {
        ADD_FAILURE() << "type " << T::kTypeId << " did not load as its class";
        static T fallback;
        return fallback;
    }
    return *typed;
}


std::vector<uint8_t> RecordData(const std::vector<uint8_t>& fields, uint32_t tag) {
    auto r = FindRecord(RegionOf(fields), tag);
    return r ? std::vector<uint8_t>(r->base, r->base + r->size) : std::vector<uint8_t>{};
}


// A step record of two nested steps under 'SUB'.
void WriteTwoChildren(RecordBuffer& b) {
    EventList children;
    auto a = MakeRef<CloseWindowEvent>();
    a->title = u"one";
    auto c = MakeRef<SwitchWindowEvent>();
    c->title = u"two";
    children.Append(a);
    children.Append(c);
    RecordBuffer nested;
    SaveSteps(children, nested);
    WriteContainer(b, tag::kSub, nested);
}

const std::vector<uint8_t> kPictureA = {'W', 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0, 9, 8, 7};
const std::vector<uint8_t> kPictureB = {'B', 'M', 1, 2, 3};
const std::vector<uint8_t> kPictureC = {0xFF};

// ---------------------------------------------------------------------------
// Every class survives a stream round trip with all its fields.

Ref<Event> FullClose() {
    auto s = MakeRef<CloseWindowEvent>();
    s->title = u"*notepad";
    return s;
}

Ref<Event> FullSwitch() {
    auto s = MakeRef<SwitchWindowEvent>();
    s->title = u"a?b";
    return s;
}

Ref<Event> FullWait() {
    auto s = MakeRef<WaitWindowEvent>();
    s->appear = 0;
    s->title = u"Save As";
    s->timeout = 3;
    s->timeoutUnit = u"minute";
    s->bringToFront = 0;
    s->ifForm = 1;
    auto inner = MakeRef<WaitWindowEvent>();
    inner->ifForm = 1;
    inner->children.Append(FullClose());
    s->children.Append(inner);
    s->children.Append(FullSwitch());
    return s;
}

Ref<Event> FullSearch() {
    auto s = MakeRef<SearchPicEvent>();
    s->picture = {kPictureA, 80, u"main"};
    s->morePictures = {{kPictureB, 100, u""}, {kPictureC, 0, u"third"}};
    s->timeout = 250;
    s->foundAction = u"click no move";
    s->timeoutAction = u"continue";
    s->ifForm = 1;
    s->moveMouseAway = 0;
    s->timeoutUnit = u"ms";
    s->where = u"rg";
    s->regionLeft = -10;
    s->regionTop = 20;
    s->regionRight = 300;
    s->regionBottom = -5;
    s->children.Append(FullSwitch());
    return s;
}

Ref<Event> OldSearch() {
    auto s = MakeRef<SearchPicEvent>();
    s->bitmapFileImages = true;
    s->picture.bytes = kPictureB;
    s->morePictures = {{kPictureB, 90, u"old"}};
    return s;
}

class ScreenStepRoundTrip : public testing::TestWithParam<Sample> {};

TEST_P(ScreenStepRoundTrip, SaveLoadSaveKeepsEveryFieldAndByte) { ExpectRoundTrip(GetParam(), 0); }

INSTANTIATE_TEST_SUITE_P(
    AllClasses, ScreenStepRoundTrip,
    testing::Values(
        Sample{"Close", FullClose, Change(&CloseWindowEvent::title, std::u16string(u"x"))},
        Sample{"Switch", FullSwitch, Change(&SwitchWindowEvent::title, std::u16string(u"A?b"))},
        Sample{"WaitIf", FullWait,
               [](Event& e) {
                   auto& inner = static_cast<WaitWindowEvent&>(*e.GetChildList()->At(0));
                   static_cast<CloseWindowEvent&>(*inner.children.At(0)).title = u"changed";
               }},
        Sample{"SearchIf", FullSearch,
               [](Event& e) { static_cast<SearchPicEvent&>(e).morePictures[1].bytes = {0xFE}; }},
        Sample{"SearchOldBitmaps", OldSearch, Change(&SearchPicEvent::bitmapFileImages, false)}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ScreenStepFactory, EachIdMakesItsClassWithItsNames) {
    EXPECT_TRUE(dynamic_cast<SearchPicEvent*>(CreateEvent(2).Get()));
    EXPECT_TRUE(dynamic_cast<CloseWindowEvent*>(CreateEvent(27).Get()));
    EXPECT_TRUE(dynamic_cast<SwitchWindowEvent*>(CreateEvent(28).Get()));
    EXPECT_TRUE(dynamic_cast<WaitWindowEvent*>(CreateEvent(29).Get()));
    EXPECT_EQ(CreateEvent(29)->GetTypeKey(), u"WaitWin");
}

// ---------------------------------------------------------------------------
// Window steps

TEST(WindowSteps, TextFormsByFormDirectionAndSwitch) {
    WaitWindowEvent w;
    w.title = u"Untitled - Notepad";
    EXPECT_EQ(Text(w), "Wait for window \"Untitled - Notepad\" appear");
    w.appear = 0;
    EXPECT_EQ(Text(w), "Wait for window \"Untitled - Notepad\" disappear");
    w.ifForm = 1;
    EXPECT_EQ(Text(w), "If window \"Untitled - Notepad\" disappear");
    w.appear = 1;
    EXPECT_EQ(Text(w), "If window \"Untitled - Notepad\" appear then switch to it, And Then");
    w.bringToFront = 0;
    EXPECT_EQ(Text(w), "If window \"Untitled - Notepad\" appear, Then");

    CloseWindowEvent c;
    c.title = u"*calc*";
    EXPECT_EQ(Text(c), "Close Window \"*calc*\"");
    SwitchWindowEvent s;
    s.title = u"x";
    EXPECT_EQ(Text(s), "Switch to Window \"x\"");
}

TEST(WindowSteps, WaitDefaultsForMissingRecords) {
    auto loaded = LoadWithLeader(WaitWindowEvent::kTypeId, [](RecordBuffer&) {});
    auto& w = As<WaitWindowEvent>(*loaded);
    EXPECT_EQ(w.appear, 1u);
    EXPECT_EQ(w.title, u"");
    EXPECT_EQ(w.timeout, 10u);
    EXPECT_EQ(w.timeoutUnit, u"sec");
    EXPECT_EQ(w.bringToFront, 1u);
    EXPECT_FALSE(w.IsCondition());
}

TEST(WindowSteps, IfFormLoadsThenStepsLinkedToItsOwnPosition) {
    auto loaded = LoadWithLeader(WaitWindowEvent::kTypeId, [](RecordBuffer& b) {
        WriteU32(b, MakeTag("IF"), 1);
        WriteTwoChildren(b);
    });
    auto& w = As<WaitWindowEvent>(*loaded);
    EXPECT_TRUE(w.IsCondition());
    ASSERT_NE(w.GetChildList(), nullptr);
    ASSERT_EQ(w.GetChildList()->Count(), 2u);
    EXPECT_EQ(w.GetChildList()->parent, &loaded->list);
    EXPECT_EQ(w.GetChildList()->ownerIndex, 1);
    EXPECT_EQ(Text(*w.GetChildList()->At(1)), "Switch to Window \"two\"");
}

TEST(WindowSteps, PlainFormHasNoChildListAndDropsStoredSteps) {
    auto loaded = LoadWithLeader(WaitWindowEvent::kTypeId, WriteTwoChildren);
    auto& w = As<WaitWindowEvent>(*loaded);
    EXPECT_EQ(w.GetChildList(), nullptr);
    EXPECT_FALSE(FindRecord(RegionOf(FieldBytes(w)), tag::kSub));
    // An "If" step without then-steps writes no 'SUB' either.
    w.ifForm = 1;
    EXPECT_FALSE(FindRecord(RegionOf(FieldBytes(w)), tag::kSub));
}

TEST(WindowSteps, TimeoutUnitsAreExactWordsAndUnknownMeansMinutes) {
    EXPECT_EQ(TimeoutMilliseconds(250, u"ms"), 250u);
    EXPECT_EQ(TimeoutMilliseconds(10, u"sec"), 10000u);
    EXPECT_EQ(TimeoutMilliseconds(2, u"minute"), 120000u);
    EXPECT_EQ(TimeoutMilliseconds(10, u"secs"), 600000u);
    EXPECT_EQ(TimeoutMilliseconds(1, u"Sec"), 60000u);
    EXPECT_EQ(TimeoutMilliseconds(0, u"hour"), 0u);
    EXPECT_EQ(TimeoutMilliseconds(0xFFFFFFFFu, u"hour"), 0xFFFFFFFFull * 3600000ull);
}

// ---------------------------------------------------------------------------
// Picture search

TEST(PictureStep, DefaultsForMissingRecords) {
    auto loaded = LoadWithLeader(SearchPicEvent::kTypeId, [](RecordBuffer&) {});
    auto& s = As<SearchPicEvent>(*loaded);
    EXPECT_TRUE(s.picture.bytes.empty());
    EXPECT_EQ(s.picture.similarity, 95u);
    EXPECT_TRUE(s.morePictures.empty());
    EXPECT_EQ(s.timeout, 10u);
    EXPECT_EQ(s.foundAction, u"move click");
    EXPECT_EQ(s.timeoutAction, u"stop tip");
    EXPECT_EQ(s.moveMouseAway, 1u);
    EXPECT_EQ(s.timeoutUnit, u"sec");
    EXPECT_EQ(s.where, u"");
    EXPECT_FALSE(s.IsCondition());
    EXPECT_EQ(Text(s), "Search a picture and move mouse to the picture and click");
    // An empty location is not written.
    EXPECT_FALSE(FindRecord(RegionOf(FieldBytes(s)), MakeTag("WHER")));
}

TEST(PictureStep, PicturesAreKeptAsRawRecordsUpToTheFirstGap) {
    auto loaded = LoadWithLeader(SearchPicEvent::kTypeId, [](RecordBuffer& b) {
        WriteRecord(b, MakeTag("BMPN"), kPictureA.data(), static_cast<uint32_t>(kPictureA.size()));
        WriteU32(b, MakeTag("SML"), 70);
        WriteRecord(b, 0x31504D42u, kPictureB.data(), static_cast<uint32_t>(kPictureB.size()));
        WriteString(b, 0x31544D43u, u"second");
        WriteRecord(b, 0x32504D42u, kPictureC.data(), 1);
        WriteU32(b, 0x324C4D53u, 60);
        WriteRecord(b, 0x34504D42u, kPictureA.data(), 4);  // after a gap: not a picture of the step
    });
    auto& s = As<SearchPicEvent>(*loaded);
    EXPECT_FALSE(s.bitmapFileImages);
    EXPECT_EQ(s.picture.bytes, kPictureA);
    EXPECT_EQ(s.picture.similarity, 70u);
    ASSERT_EQ(s.morePictures.size(), 2u);
    EXPECT_EQ(s.morePictures[0], (StoredPicture{kPictureB, 95, u"second"}));
    EXPECT_EQ(s.morePictures[1], (StoredPicture{kPictureC, 60, u""}));

    // Saved back under the same tags, which spell BMP1, SML2 in the file.
    const auto bytes = FieldBytes(s);
    EXPECT_EQ(RecordData(bytes, MakeTag("BMPN")), kPictureA);
    EXPECT_EQ(RecordData(bytes, 0x32504D42u), kPictureC);
    EXPECT_TRUE(RecordData(bytes, 0x34504D42u).empty());
    EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("BMP1"), std::string::npos);
}

TEST(PictureStep, OlderBitmapFileFormIsWrittenBackUnderItsOwnTag) {
    auto loaded = LoadWithLeader(SearchPicEvent::kTypeId, [](RecordBuffer& b) {
        WriteRecord(b, MakeTag("BMP"), kPictureB.data(), static_cast<uint32_t>(kPictureB.size()));
        WriteRecord(b, 0x31504D42u, kPictureC.data(), 1);
    });
    auto& s = As<SearchPicEvent>(*loaded);
    EXPECT_TRUE(s.bitmapFileImages);
    EXPECT_EQ(s.picture.bytes, kPictureB);
    ASSERT_EQ(s.morePictures.size(), 1u);
    const auto bytes = FieldBytes(s);
    EXPECT_EQ(RecordData(bytes, MakeTag("BMP")), kPictureB);
    EXPECT_FALSE(FindRecord(RegionOf(bytes), MakeTag("BMPN")));
}

TEST(PictureStep, RegionCornersAreSignedAndShownAsOriginAndSize) {
    auto loaded = LoadWithLeader(SearchPicEvent::kTypeId, [](RecordBuffer& b) {
        WriteString(b, MakeTag("WHER"), u"rg");
        WriteU32(b, MakeTag("RGNL"), static_cast<uint32_t>(-10));
        WriteU32(b, MakeTag("RGNT"), 20);
        WriteU32(b, MakeTag("RGNR"), 30);
        WriteU32(b, MakeTag("RGNB"), 60);
        WriteString(b, MakeTag("FDO"), u"move");
    });
    auto& s = As<SearchPicEvent>(*loaded);
    EXPECT_EQ(s.regionLeft, -10);
    EXPECT_EQ(Text(s), "Search a picture in region [-10,20 40x40] and move mouse to the picture");
}

TEST(PictureStep, TextFormsByFormActionAndLocation) {
    SearchPicEvent s;
    s.where = u"cur";
    s.foundAction = u"click no move";
    EXPECT_EQ(Text(s), "Search a picture from current mouse position and click on the picture but do not move mouse");
    s.foundAction = u"nothing";
    EXPECT_EQ(Text(s), "Search a picture from current mouse position");
    s.where = u"whole";
    s.ifForm = 1;
    EXPECT_EQ(Text(s), "If found the picture, Then");
    s.foundAction = u"move click";
    EXPECT_EQ(Text(s), "If found the picture then move mouse to the picture and click, And Then");
    s.foundAction = u"move";
    EXPECT_EQ(Text(s), "If found the picture then move mouse to the picture, And Then");
    s.foundAction = u"Move";  // compared exactly
    s.where = u"rg";
    s.regionRight = 5;
    s.regionBottom = 6;
    EXPECT_EQ(Text(s), "If found the picture in region [0,0 5x6], Then");
    s.foundAction = u"click no move";
    EXPECT_EQ(Text(s), "If found the picture in region [0,0 5x6] then click on the picture but do not move mouse, And Then");
}

TEST(PictureStep, ThenStepsOnlyInTheIfForm) {
    auto plain = LoadWithLeader(SearchPicEvent::kTypeId, WriteTwoChildren);
    EXPECT_EQ(As<SearchPicEvent>(*plain).GetChildList(), nullptr);

    auto withIf = LoadWithLeader(SearchPicEvent::kTypeId, [](RecordBuffer& b) {
        WriteU32(b, MakeTag("IF"), 1);
        WriteTwoChildren(b);
    });
    auto& s = As<SearchPicEvent>(*withIf);
    EXPECT_TRUE(s.IsCondition());
    ASSERT_NE(s.GetChildList(), nullptr);
    EXPECT_EQ(s.GetChildList()->Count(), 2u);
    EXPECT_EQ(s.GetChildList()->parent, &withIf->list);
    EXPECT_EQ(s.GetChildList()->ownerIndex, 1);
}

}  // namespace
}  // namespace ovrix
