// The window and picture steps: the records the loader reads, the bytes they
// save back, their defaults, their "If" forms as condition blocks and their
// text forms.
#include <gtest/gtest.h>

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

std::vector<uint8_t> RecordData(const std::vector<uint8_t>& fields, uint32_t tag) {
    auto r = FindRecord(RegionOf(fields), tag);
    return r ? std::vector<uint8_t>(r->base, r->base + r->size) : std::vector<uint8_t>{};
}

const std::vector<uint8_t> kPictureA = {'W', 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0, 9, 8, 7};
const std::vector<uint8_t> kPictureB = {'B', 'M', 1, 2, 3};
const std::vector<uint8_t> kPictureC = {0xFF};

// ---------------------------------------------------------------------------
// Loading and text forms

template <class T>
Ref<Event> Titled(std::u16string title) {
    auto s = MakeRef<T>();
    s->title = std::move(title);
    return s;
}

// A step record of two nested steps under 'SUB'.
void WriteTwoChildren(RecordBuffer& b) {
    EventList children;
    children.Append(Titled<CloseWindowEvent>(u"one"));
    children.Append(Titled<SwitchWindowEvent>(u"two"));
    RecordBuffer nested;
    SaveSteps(children, nested);
    WriteContainer(b, tag::kSub, nested);
}

// The "If" forms of both condition steps own then-steps linked to their own
// position; the plain forms drop stored steps.
TEST(ScreenSteps, ThenStepsOnlyInTheIfForm) {
    for (uint32_t type : {WaitWindowEvent::kTypeId, SearchPicEvent::kTypeId}) {
        SCOPED_TRACE(type);
        auto plain = LoadRecord(type, WriteTwoChildren);
        ASSERT_TRUE(plain);
        EXPECT_FALSE(plain->IsCondition());
        EXPECT_EQ(plain->GetChildList(), nullptr);
        EXPECT_FALSE(FindRecord(RegionOf(FieldBytes(*plain)), tag::kSub));

        // After a leading step, so that the owner's index is not 0.
        const auto bytes = StreamOf({{CloseWindowEvent::kTypeId, {}}, {type, [](RecordBuffer& b) {
                                         WriteU32(b, MakeTag("IF"), 1);
                                         WriteTwoChildren(b);
                                     }}});
        EventList list;
        LoadSteps(RegionOf(bytes), list);
        ASSERT_EQ(list.Count(), 2u);
        EXPECT_TRUE(list.At(1)->IsCondition());
        const EventList* then = list.At(1)->GetChildList();
        ASSERT_NE(then, nullptr);
        ASSERT_EQ(then->Count(), 2u);
        EXPECT_EQ(then->parent, &list);
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

TEST(ScreenSteps, MissingRecordsLoadTheDefaults) {
    auto w = LoadAs<WaitWindowEvent>();
    EXPECT_EQ(TimeoutMilliseconds(w->timeout, w->timeoutUnit), 10000u);
    EXPECT_EQ(w->bringToFront, 1u);

    auto s = LoadAs<SearchPicEvent>();
    EXPECT_EQ(s->picture.similarity, 95u);
    EXPECT_EQ(s->timeout, 10u);
    EXPECT_EQ(s->timeoutAction, u"stop tip");
    EXPECT_EQ(s->moveMouseAway, 1u);
    // An empty location is not written.
    EXPECT_FALSE(FindRecord(RegionOf(FieldBytes(*s)), MakeTag("WHER")));
}

// The texts by form, direction, switch, found action (compared exactly) and
// location; region corners are signed and shown as origin and size.
TEST(ScreenSteps, TextForms) {
    const auto wait = [](uint32_t appear, uint32_t front) {
        return Made<WaitWindowEvent>([=](auto& w) {
            w.title = u"Untitled - Notepad", w.appear = appear, w.bringToFront = front, w.ifForm = 1;
        });
    };
    const auto search = [](const char16_t* where, const char16_t* found, uint32_t ifForm) {
        return Made<SearchPicEvent>([=](auto& s) {
            s.where = where, s.foundAction = found, s.ifForm = ifForm, s.regionRight = 5, s.regionBottom = 6;
        });
    };
    const Ref<Event> region = LoadAs<SearchPicEvent>([](RecordBuffer& b) {
        WriteString(b, MakeTag("WHER"), u"rg");
        WriteU32(b, MakeTag("RGNL"), static_cast<uint32_t>(-10));
        WriteU32(b, MakeTag("RGNT"), 20);
        WriteU32(b, MakeTag("RGNR"), 30);
        WriteU32(b, MakeTag("RGNB"), 60);
        WriteString(b, MakeTag("FDO"), u"move");
    });
    const std::pair<Ref<Event>, const char*> cases[] = {
        {LoadAs<WaitWindowEvent>(), "Wait for window \"\" appear"},
        {wait(0, 1), "If window \"Untitled - Notepad\" disappear"},
        {wait(1, 1), "If window \"Untitled - Notepad\" appear then switch to it, And Then"},
        {wait(1, 0), "If window \"Untitled - Notepad\" appear, Then"},
        {LoadAs<SearchPicEvent>(), "Search a picture and move mouse to the picture and click"},
        {search(u"cur", u"nothing", 0), "Search a picture from current mouse position"},
        {search(u"whole", u"move", 1), "If found the picture then move mouse to the picture, And Then"},
        {search(u"rg", u"Move", 1), "If found the picture in region [0,0 5x6], Then"},
        {search(u"rg", u"click no move", 1),
         "If found the picture in region [0,0 5x6] then click on the picture but do not move mouse, And Then"},
        {region, "Search a picture in region [-10,20 40x40] and move mouse to the picture"},
    };
    for (const auto& c : cases) EXPECT_EQ(Text(*c.first), c.second) << "row " << &c - cases;
}

TEST(PictureStep, PicturesAreKeptAsRawRecordsUpToTheFirstGap) {
    auto s = LoadAs<SearchPicEvent>([](RecordBuffer& b) {
        WriteRecord(b, MakeTag("BMPN"), kPictureA.data(), static_cast<uint32_t>(kPictureA.size()));
        WriteU32(b, MakeTag("SML"), 70);
        WriteRecord(b, 0x31504D42u, kPictureB.data(), static_cast<uint32_t>(kPictureB.size()));
        WriteString(b, 0x31544D43u, u"second");
        WriteRecord(b, 0x32504D42u, kPictureC.data(), 1);
        WriteU32(b, 0x324C4D53u, 60);
        WriteRecord(b, 0x34504D42u, kPictureA.data(), 4);  // after a gap: not a picture of the step
    });
    EXPECT_FALSE(s->bitmapFileImages);
    EXPECT_EQ(s->picture.bytes, kPictureA);
    EXPECT_EQ(s->picture.similarity, 70u);
    ASSERT_EQ(s->morePictures.size(), 2u);
    EXPECT_EQ(s->morePictures[0], (StoredPicture{kPictureB, 95, u"second"}));
    EXPECT_EQ(s->morePictures[1], (StoredPicture{kPictureC, 60, u""}));

    // Saved back under the same tags, which spell BMP1, SML2 in the file.
    const auto bytes = FieldBytes(*s);
    EXPECT_EQ(RecordData(bytes, MakeTag("BMPN")), kPictureA);
    EXPECT_EQ(RecordData(bytes, 0x32504D42u), kPictureC);
    EXPECT_TRUE(RecordData(bytes, 0x34504D42u).empty());
    EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("BMP1"), std::string::npos);
}

TEST(PictureStep, OlderBitmapFileFormIsWrittenBackUnderItsOwnTag) {
    auto s = LoadAs<SearchPicEvent>([](RecordBuffer& b) {
        WriteRecord(b, MakeTag("BMP"), kPictureB.data(), static_cast<uint32_t>(kPictureB.size()));
        WriteRecord(b, 0x31504D42u, kPictureC.data(), 1);
    });
    EXPECT_TRUE(s->bitmapFileImages);
    EXPECT_EQ(s->morePictures.size(), 1u);
    const auto bytes = FieldBytes(*s);
    EXPECT_EQ(RecordData(bytes, MakeTag("BMP")), kPictureB);
    EXPECT_FALSE(FindRecord(RegionOf(bytes), MakeTag("BMPN")));
    // Loaded again it is equal, and the form is part of equality.
    auto again = LoadAs<SearchPicEvent>([&](RecordBuffer& b) { b.AppendBytes(bytes.data(), bytes.size()); });
    EXPECT_TRUE(again->IsEqual(*s));
    again->bitmapFileImages = false;
    EXPECT_FALSE(again->IsEqual(*s));
}

}  // namespace
}  // namespace ovrix
