// The tagged container: readers stay inside their data and stop where the
// stored format says, writers produce exactly the records readers expect.
#include <gtest/gtest.h>

#include <vector>

#include "builder/ImageBuilder.h"
#include "container/Container.h"
#include "container/Image.h"
#include "container/RecordBuffer.h"
#include "container/Tags.h"

namespace ovrix {
namespace {

Region R(const std::vector<uint8_t>& v) { return Region{v.data(), static_cast<uint32_t>(v.size())}; }
Region R(const RecordBuffer& b) { return b.AsRegion(); }

// A record header with arbitrary (possibly lying) length and the given data.
void RawRecord(std::vector<uint8_t>& out, uint32_t tag, int32_t length, std::vector<uint8_t> data = {}) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag >> (8 * i)));
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(length) >> (8 * i)));
    out.insert(out.end(), data.begin(), data.end());
}

TEST(ContainerTags, PackFirstCharacterHighest) {
    EXPECT_EQ(MakeTag("VER"), 0x564552u);
    EXPECT_EQ(IndexedTag('S', 3), 0x53000003u);
    RecordBuffer b;
    WriteU32(b, tag::kRoot, 7);
    // In the file the tag reads 54 4F 4F 52.
    EXPECT_EQ(std::vector<uint8_t>(b.Data(), b.Data() + 4), (std::vector<uint8_t>{0x54, 0x4F, 0x4F, 0x52}));
}

TEST(ContainerFind, FirstRecordWithTagWinsAndFindFromEnumeratesAll) {
    RecordBuffer b;
    WriteU32(b, MakeTag("A"), 1);
    WriteU32(b, MakeTag("B"), 2);
    WriteU32(b, MakeTag("A"), 3);
    EXPECT_EQ(ReadU32(R(b), MakeTag("A"), 0), 1u);
    EXPECT_EQ(ReadU32(R(b), MakeTag("C"), 99), 99u);

    std::vector<uint32_t> seen;
    for (auto r = FindRecordFrom(R(b), MakeTag("A"), std::nullopt); r;
         r = FindNextRecord(R(b), MakeTag("A"), *r)) {
        seen.push_back(LoadU32(RecordAt(R(b), *r).data.base));
    }
    EXPECT_EQ(seen, (std::vector<uint32_t>{1, 3}));
}

// Records whose header lies about their length: never found, and no scan
// goes past them or outside the container.
TEST(ContainerFind, LyingLengthsEndTheScanOrHideTheRecord) {
    std::vector<uint8_t> c;
    RawRecord(c, MakeTag("DLY"), 4);  // header only: the data byte is missing
    EXPECT_FALSE(FindRecord(R(c), MakeTag("DLY")));
    EXPECT_EQ(ReadU32(R(c), MakeTag("DLY"), 1000), 1000u);
    EXPECT_FALSE(FirstRecord(R(c)));
    for (int32_t bad : {0, -1, -8, INT32_MIN}) {
        std::vector<uint8_t> z;
        RawRecord(z, MakeTag("X"), bad);
        RawRecord(z, MakeTag("Y"), 4, {1, 0, 0, 0});
        EXPECT_FALSE(FindRecord(R(z), MakeTag("Y"))) << bad;
    }
    RecordBuffer b;
    WriteRecord(b, MakeTag("E"), nullptr, 0);
    EXPECT_EQ(b.Used(), 8u);  // only the header, and it ends every scan
    WriteU32(b, MakeTag("F"), 5);
    EXPECT_FALSE(FindRecord(R(b), MakeTag("F")));

    std::vector<uint8_t> past;
    RawRecord(past, MakeTag("NAME"), 400, {'a', 0, 'b', 0});
    EXPECT_FALSE(FindRecord(R(past), MakeTag("NAME")));
    EXPECT_EQ(ReadString(R(past), MakeTag("NAME"), u"x"), u"x");
    EXPECT_FALSE(FirstWholeRecord(R(past)));
    // A length that would wrap a 32-bit address ends the walk.
    std::vector<uint8_t> w;
    RawRecord(w, MakeTag("A"), 0x7FFFFFFF, {1, 2, 3, 4});
    RawRecord(w, MakeTag("B"), 4, {1, 2, 3, 4});
    EXPECT_FALSE(NextRecord(R(w), 0));
}

TEST(ContainerRead, I64TakesFourOrEightBytesOnly) {
    RecordBuffer four, eight, two;
    WriteU32(four, tag::kRunTime, 0xFFFFFFF0u);
    Write64(eight, tag::kRunTime, -5);
    WriteRecord(two, tag::kRunTime, "\x01\x02", 2);
    EXPECT_EQ(ReadI64(R(four), tag::kRunTime, 0), 0xFFFFFFF0ll);  // zero-extended
    EXPECT_EQ(ReadI64(R(eight), tag::kRunTime, 0), -5);
    EXPECT_EQ(ReadI64(R(two), tag::kRunTime, 0), 0);
}

TEST(ContainerRead, NarrowRecordsReadOnWithoutLeavingTheContainer) {
    // A 2-byte record read as u32 takes the next two bytes of the container...
    RecordBuffer b;
    WriteRecord(b, MakeTag("A"), "\x01\x02", 2);
    WriteU32(b, MakeTag("B"), 0);
    EXPECT_EQ(ReadU32(R(b), MakeTag("A"), 0), 0x00420201u);
    // ...and past the container's end the missing bytes read as zero.
    std::vector<uint8_t> c;
    RawRecord(c, MakeTag("A"), 1, {0x7F});
    EXPECT_EQ(ReadU32(R(c), MakeTag("A"), 9), 0x7Fu);
    EXPECT_EQ(ReadF64(R(c), MakeTag("A"), 1.0), ReadF64(R(c), MakeTag("A"), 2.0));
}

TEST(ContainerRead, StringsEndAtTheirZeroUnit) {
    RecordBuffer b;
    WriteString(b, MakeTag("S"), u"");
    EXPECT_EQ(b.Used(), 10u);  // header + one zero unit
    WriteString(b, MakeTag("T"), u"h\u00e9llo \u4e16");
    EXPECT_EQ(ReadString(R(b), MakeTag("T"), u"?"), u"h\u00e9llo \u4e16");
    std::u16string s = u"x";
    EXPECT_TRUE(ReadStringIfPresent(R(b), MakeTag("S"), s));
    EXPECT_EQ(s, u"");
    // Without a zero unit the text ends with the record; an odd byte is dropped.
    std::vector<uint8_t> c;
    RawRecord(c, MakeTag("T"), 5, {'a', 0, 'b', 0, 'c'});
    EXPECT_EQ(ReadString(R(c), MakeTag("T"), u""), u"ab");
}

TEST(RecordBuffer, CapacityStartsAt16AndDoubles) {
    RecordBuffer b;
    EXPECT_EQ(b.Capacity(), 0u);
    b.AppendU32(1);
    EXPECT_EQ(b.Capacity(), 16u);
    b.Reserve(13);  // 17 bytes
    EXPECT_EQ(b.Capacity(), 32u);
    b.Reserve(100);  // 117 bytes
    EXPECT_EQ(b.Capacity(), 128u);
    EXPECT_EQ(b.AppendU32(7), 117u);
    b.Clear();
    EXPECT_EQ(b.Used(), 0u);
    EXPECT_EQ(b.Capacity(), 0u);
}

TEST(ImageSlot, LengthWordOutsideTheSlotReadsAsEmpty) {
    std::vector<uint8_t> slot = ImageBuilder().Setting(tag::kRepeat, 3).BuildSlot();
    EXPECT_EQ(ReadU32(ImageFromSlot(slot), tag::kRepeat, 1), 3u);
    // An unfilled slot: the marker's first bytes read as a huge length.
    std::vector<uint8_t> unfilled(kSlotMarker.begin(), kSlotMarker.end());
    unfilled.resize(64);
    EXPECT_TRUE(ImageFromSlot(unfilled).Empty());
    // A length beyond the bytes actually there.
    slot[0] = static_cast<uint8_t>(slot.size() + 1);
    EXPECT_TRUE(ImageFromSlot(slot).Empty());
    std::vector<uint8_t> zero(8, 0);
    EXPECT_FALSE(FindRecord(ImageFromSlot(zero), tag::Stream(0)));
}

TEST(EmbeddedScripts, LookupIgnoresCaseAndEndsAtTheFirstMissingName) {
    EventList none;
    const auto image = ImageBuilder()
                           .Main(none)
                           .Script(u"C:\\Scripts\\Login.ovx", none)
                           .Script(u"tools\\\u00c9t\u00e9.ovx", none)
                           .Build();
    EXPECT_TRUE(LookupEmbeddedScript(R(image), u"TOOLS\\\u00e9T\u00c9.ovx"));
    EXPECT_FALSE(LookupEmbeddedScript(R(image), u"Login.ovx"));
    EXPECT_FALSE(LookupEmbeddedScript(R(image), u""));  // the unnamed main script is passed
    auto found = LookupEmbeddedScript(R(image), u"c:\\scripts\\LOGIN.OVX");
    ASSERT_TRUE(found);
    EXPECT_EQ(LoadU32(found->base), tag::kStreamMagic);  // the found region is the stream itself

    const auto gaps = ImageBuilder()
                          .Main(none)
                          .Raw(tag::ScriptName(1), {'a', 0, 0, 0})
                          .Raw(tag::ScriptName(3), {'b', 0, 0, 0})
                          .Raw(tag::Stream(3), StreamBytes(none, 1))
                          .Build();
    EXPECT_FALSE(LookupEmbeddedScript(R(gaps), u"a"));  // named, but 'S' + 1 is missing
    EXPECT_FALSE(LookupEmbeddedScript(R(gaps), u"b"));  // behind the gap at n = 2
}

}  // namespace
}  // namespace ovrix
