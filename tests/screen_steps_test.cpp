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
#include "script/StepKinds.h"
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

// The loaded step as its class; a fresh step (and a failure) when it is not.
template <class T>
T& As(const Loaded& loaded) {
    static T fallback;
    T* typed = dynamic_cast<T*>(loaded.step);
    EXPECT_NE(typed, nullptr) << "type " << T::kTypeId << " did not load as its class";
    return typed != nullptr ? *typed : fallback;
}

std::vector<uint8_t> RecordData(const std::vector<uint8_t>& fields, uint32_t tag) {
    auto r = FindRecord(RegionOf(fields), tag);
    return r ? std::vector<uint8_t>(r->base, r->base + r->size) : std::vector<uint8_t>{};
}

const std::vector<uint8_t> kPictureA = {'W', 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0, 9, 8, 7};
const std::vector<uint8_t> kPictureB = {'B', 'M', 1, 2, 3};
const std::vector<uint8_t> kPictureC = {0xFF};

// ---------------------------------------------------------------------------
// Every class survives a stream round trip with all its fields.

template <class T>
Ref<Event> Titled(std::u16string title) {
    auto s = MakeRef<T>();
    s->title = std::move(title);
    return s;
}
Ref<Event> FullClose() { return Titled<CloseWindowEvent>(u"*notepad"); }
Ref<Event> FullSwitch() { return Titled<SwitchWindowEvent>(u"a?b"); }

// A step record of two nested steps under 'SUB'.
void WriteTwoChildren(RecordBuffer& b) {
    EventList children;
    children.Append(Titled<CloseWindowEvent>(u"one"));
    children.Append(Titled<SwitchWindowEvent>(u"two"));
    RecordBuffer nested;
    SaveSteps(children, nested);
    WriteContainer(b, tag::kSub, nested);
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

// ---------------------------------------------------------------------------
// Window steps

TEST(WindowSteps, TextFormsByFormDirectionAndSwitch) {
    WaitWindowEvent w;
    w.title = u"Untitled - Notepad";
    w.appear = 0;
    w.ifForm = 1;
    EXPECT_EQ(Text(w), "If window \"Untitled - Notepad\" disappear");
    w.appear = 1;
    EXPECT_EQ(Text(w), "If window \"Untitled - Notepad\" appear then switch to it, And Then");
    w.bringToFront = 0;
    EXPECT_EQ(Text(w), "If window \"Untitled - Notepad\" appear, Then");
}

// The "If" forms of both condition steps own then-steps linked to their own
// position; the plain forms drop stored steps.
TEST(ScreenSteps, ThenStepsOnlyInTheIfForm) {
    for (uint32_t type : {WaitWindowEvent::kTypeId, SearchPicEvent::kTypeId}) {
        SCOPED_TRACE(type);
        auto plain = LoadWithLeader(type, WriteTwoChildren);
        ASSERT_NE(plain->step, nullptr);
        EXPECT_FALSE(plain->step->IsCondition());
        EXPECT_EQ(plain->step->GetChildList(), nullptr);
        EXPECT_FALSE(FindRecord(RegionOf(FieldBytes(*plain->step)), tag::kSub));

        auto withIf = LoadWithLeader(type, [](RecordBuffer& b) {
            WriteU32(b, MakeTag("IF"), 1);
            WriteTwoChildren(b);
        });
        ASSERT_NE(withIf->step, nullptr);
        EXPECT_TRUE(withIf->step->IsCondition());
        const EventList* then = withIf->step->GetChildList();
        ASSERT_NE(then, nullptr);
        ASSERT_EQ(then->Count(), 2u);
        EXPECT_EQ(then->parent, &withIf->list);
        EXPECT_EQ(then->ownerIndex, 1);
        EXPECT_EQ(Text(*then->At(1)), "Switch to Window \"two\"");
    }
    // An "If" step without then-steps writes no 'SUB' either.
    WaitWindowEvent empty;
    empty.ifForm = 1;
    EXPECT_FALSE(FindRecord(RegionOf(FieldBytes(empty)), tag::kSub));
}

TEST(WindowSteps, TimeoutUnitsAreExactWordsAndUnknownMeansMinutes) {
    EXPECT_EQ(TimeoutMilliseconds(250, u"ms"), 250u);
    EXPECT_EQ(TimeoutMilliseconds(2, u"minute"), 120000u);
    EXPECT_EQ(TimeoutMilliseconds(10, u"secs"), 600000u);
    EXPECT_EQ(TimeoutMilliseconds(1, u"Sec"), 60000u);
    EXPECT_EQ(TimeoutMilliseconds(0xFFFFFFFFu, u"hour"), 0xFFFFFFFFull * 3600000ull);
}

// ---------------------------------------------------------------------------
// Picture search

TEST(ScreenSteps, MissingRecordsLoadTheDefaults) {
    auto wait = LoadWithLeader(WaitWindowEvent::kTypeId, [](RecordBuffer&) {});
    auto& w = As<WaitWindowEvent>(*wait);
    EXPECT_EQ(Text(w), "Wait for window \"\" appear");
    EXPECT_EQ(TimeoutMilliseconds(w.timeout, w.timeoutUnit), 10000u);
    EXPECT_EQ(w.bringToFront, 1u);

    auto loaded = LoadWithLeader(SearchPicEvent::kTypeId, [](RecordBuffer&) {});
    auto& s = As<SearchPicEvent>(*loaded);
    EXPECT_EQ(s.picture.similarity, 95u);
    EXPECT_EQ(s.timeout, 10u);
    EXPECT_EQ(s.timeoutAction, u"stop tip");
    EXPECT_EQ(s.moveMouseAway, 1u);
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
    EXPECT_EQ(s.morePictures.size(), 1u);
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
    EXPECT_EQ(Text(As<SearchPicEvent>(*loaded)), "Search a picture in region [-10,20 40x40] and move mouse to the picture");
}

TEST(PictureStep, TextFormsByFormActionAndLocation) {
    SearchPicEvent s;
    s.where = u"cur";
    s.foundAction = u"nothing";
    EXPECT_EQ(Text(s), "Search a picture from current mouse position");
    s.where = u"whole";
    s.ifForm = 1;
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

}  // namespace
}  // namespace ovrix
