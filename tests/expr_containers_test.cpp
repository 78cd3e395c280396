// Containers: arrays, named data, byte data, value lists and file finders,
// with their index rules, sharing of cells, copying and printing. The
// argument rules of the operations are tested with the built-in rows.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "builtins_test_support.h"
#include "expr/Array.h"
#include "expr/ByteData.h"
#include "expr/FileFinder.h"
#include "expr/KindsObject.h"
#include "expr/NamedData.h"

namespace ovrix {
namespace {

using namespace testing_builtins;
using Texts = std::vector<std::u16string>;
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

// The array's slots as their value texts, "-" for an empty slot.
Texts Contents(const AnyArray& a) {
    Texts out;
    for (const PExprItem& e : a.elements) out.push_back(e ? e->GetValueText() : u"-");
    return out;
}

AnyArray& NewArray(PExprItem& holder, std::initializer_list<PExprItem> items) {
    holder = MakeItem<AnyArray>();
    AnyArray& a = *ItemAs<AnyArray>(holder);
    for (const PExprItem& item : items) a.Push(item);
    return a;
}

TEST(ExprArray, IndexRulesAtEveryEdge) {
    PExprItem h;
    AnyArray& a = NewArray(h, {Num(1), Num(2), Num(3)});
    EXPECT_EQ(AsText(a.Pop()), u"3");
    for (int64_t bad : {int64_t{2}, int64_t{-1}}) EXPECT_FALSE(a.Get(bad)) << bad;
    a.Insert(99, Num(9));
    a.Insert(-5, Num(0));
    a.Insert(2, Num(5));
    EXPECT_EQ(Contents(a), (Texts{u"0", u"1", u"5", u"2", u"9"}));
    a.Remove(1, 2);
    for (auto [index, count] : {std::pair<int64_t, int64_t>{0, 0}, {-1, 1}, {3, 1}}) a.Remove(index, count);
    EXPECT_EQ(Contents(a), (Texts{u"0", u"2", u"9"}));
    a.Remove(1, kMax);
    EXPECT_EQ(Contents(a), (Texts{u"0"}));
    a.Clear();
    EXPECT_FALSE(a.Pop());
}

TEST(ExprArray, PushSharesTheItemButSetAndInsertShareTheCell) {
    PExprItem h;
    AnyArray& a = NewArray(h, {});
    PExprItem variable = Num(1);
    a.Push(variable);
    EXPECT_EQ(a.Get(0).Item(), variable.Item());  // the item is not copied
    variable.Assign(new ExprItem_Num(2));
    EXPECT_EQ(AsText(a.Get(0)), u"1");  // a fresh cell does not follow the variable

    a.Set(0, variable);
    a.Insert(0, variable);
    variable.Assign(new ExprItem_Num(7));
    EXPECT_EQ(Contents(a), (Texts{u"7", u"7"}));
    // Get answers the slot's own cell: assigning through it changes the slot.
    a.Get(1).Assign(new ExprItem_Num(9));
    EXPECT_EQ(AsText(variable), u"9");

    a.Set(2, Num(5));  // index == size: nothing
    a.Set(-1, Num(5));
    a.Push(PExprItem());  // no value makes an empty slot
    EXPECT_EQ(Contents(a), (Texts{u"9", u"9", u"-"}));
}

TEST(ExprArray, SortComparesByTheFirstSlotsKind) {
    PExprItem h;
    AnyArray& a = NewArray(h, {Num(10), Text(u"9"), Num(100)});
    a.Sort(true);
    EXPECT_EQ(Contents(a), (Texts{u"9", u"10", u"100"}));
    // Now the first slot is the text 9, so a second sort compares texts.
    a.Sort(false);
    EXPECT_EQ(Contents(a), (Texts{u"9", u"100", u"10"}));
    // An empty first slot is not a Number: texts compare, no value as "".
    AnyArray& d = NewArray(h, {PExprItem(), Num(5), Num(40)});
    d.Sort(false);
    EXPECT_EQ(Contents(d), (Texts{u"5", u"40", u"-"}));
    // NaN must not break the sort's ordering: every slot stays.
    AnyArray& n = NewArray(h, {Num(3), Num(std::nan("")), Num(1), Num(std::nan("")), Num(2)});
    n.Sort(true);
    EXPECT_EQ(Contents(n), (Texts{u"1", u"2", u"3", u"nan", u"nan"}));
}

TEST(ExprArray, PrintRangesWithoutOverflowAndRawText) {
    PExprItem h;
    AnyArray& a = NewArray(h, {Num(1), Num(2)});
    const struct { int64_t start, count; std::u16string out; } rows[] = {
        {0, 0, u"[0] = 1\r\n[1] = 2\r\n"},  // count 0: to the end
        {0, 1, u"[0] = 1\r\n"}, {2, 0, u""}, {0, -1, u""}, {-1, 2, u"[0] = 1\r\n"},
        {kMin, 1, u""}, {1, kMax, u"[1] = 2\r\n"},
    };
    for (const auto& row : rows) EXPECT_EQ(a.Print(row.start, row.count, false), row.out) << row.start << "," << row.count;

    AnyArray& t = NewArray(h, {Text(u"abcdefghijklmnopqrstuvwxyz"), PExprItem(), Text(u"")});
    EXPECT_EQ(t.Print(0, 0, false), u"[0] = \"abcdefghi...rstuvwxyz\"\r\n[1] = \r\n[2] = Empty\r\n");
    EXPECT_EQ(t.Print(0, 0, true), u"abcdefghijklmnopqrstuvwxyz\r\n\r\n\r\n");
}

TEST(ExprArray, CloneSharesCellsAndIsAnotherArray) {
    PExprItem h;
    AnyArray& a = NewArray(h, {Num(1), Num(2)});
    PExprItem copy = h->Clone();
    AnyArray& b = *ItemAs<AnyArray>(copy);
    ItemAs<ExprItem_Num>(a.Get(0))->value = 41;
    EXPECT_EQ(AsText(b.Get(0)), u"41");
    a.Get(1).Assign(new ExprItem_Text(u"x"));
    EXPECT_EQ(AsText(b.Get(1)), u"x");
    b.Push(Num(3));  // the slot vectors themselves are separate
    EXPECT_EQ(a.Size(), 2);
    EXPECT_FALSE(h->IsEqual(*copy.Item()));
}

TEST(ExprContainers, WalkVisitsTheContainerThenEachElementInOrderAndStops) {
    PExprItem h;
    NewArray(h, {Num(1), PExprItem(), Text(u"t"), Num(2)});
    std::vector<std::u16string> seen;
    const auto untilText = [](ExprItem* item, void* context) {
        static_cast<Texts*>(context)->push_back(item->GetTypeName() + u":" + item->GetValueText());
        return item->Kind() != kind::kText;
    };
    EXPECT_FALSE(h->Walk(untilText, &seen));
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen.back(), u"Text:t");
    PExprItem d = MakeItem<ExprItem_NamedData>();
    ItemAs<ExprItem_NamedData>(d)->Set(u"b", Num(1));
    ItemAs<ExprItem_NamedData>(d)->Set(u"a", Text(u"x"));
    ItemAs<ExprItem_NamedData>(d)->Set(u"c", Num(3));
    seen.clear();
    EXPECT_FALSE(d->Walk(untilText, &seen));
    ASSERT_EQ(seen.size(), 3u);  // the named data itself, then its entries in the order first set
    EXPECT_EQ(seen[1] + u" " + seen[2], u"Number:1 Text:x");
}

// ---- Named data ----

TEST(ExprNamedData, OrderIsFirstSetAndNamesAreExact) {
    PExprItem h = MakeItem<ExprItem_NamedData>();
    ExprItem_NamedData& d = *ItemAs<ExprItem_NamedData>(h);
    for (auto [name, value] : {std::pair<const char16_t*, double>{u"b", 1}, {u"a", 2}, {u"B", 3}, {u"", 4}}) {
        d.Set(name, Num(value));  // the empty name is ignored
    }
    d.Set(u"b", Text(u"again"));
    EXPECT_EQ(d.Print(), u"b = \"again\"\r\na = 2\r\nB = 3\r\n");
    for (int64_t bad : {int64_t{3}, int64_t{-1}}) EXPECT_EQ(d.GetName(bad), nullptr) << bad;
    d.Remove(u"b");
    d.Remove(u"missing");
    d.Set(u"b", Num(5));  // set again after removal: now last
    EXPECT_EQ(d.Print(), u"a = 2\r\nB = 3\r\nb = 5\r\n");
    d.Clear();
    EXPECT_EQ(d.GetName(0), nullptr);
}

TEST(ExprNamedData, EntriesHoldCellsAndCloneSharesThem) {
    PExprItem h = MakeItem<ExprItem_NamedData>();
    ExprItem_NamedData& d = *ItemAs<ExprItem_NamedData>(h);
    PExprItem variable = Num(1);
    d.Set(u"v", variable);
    d.Set(u"none", PExprItem());
    variable.Assign(new ExprItem_Num(8));
    EXPECT_EQ(d.Print(), u"v = 8\r\nnone = \r\n");

    PExprItem copy = h->Clone();
    ExprItem_NamedData& c = *ItemAs<ExprItem_NamedData>(copy);
    c.Set(u"z", Num(9));
    c.Remove(u"none");
    EXPECT_EQ(d.Print(), u"v = 8\r\nnone = \r\n");
    EXPECT_EQ(c.Print(), u"v = 8\r\nz = 9\r\n");
    d.Get(u"v").Assign(new ExprItem_Text(u"shared"));
    EXPECT_EQ(AsText(c.Get(u"v")), u"shared");
}

// ---- Byte data ----

TEST(ExprByteData, ParsesHexTextInPairs) {
    EXPECT_EQ(ParseHexBytes(u"0x0Aff10"), (std::vector<uint8_t>{0x0A, 0xFF, 0x10}));
    EXPECT_EQ(ParseHexBytes(u"  0X01 02\r\n03"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(ParseHexBytes(u"0x"), std::vector<uint8_t>{});
    for (const char16_t* bad : {u"ABC", u"0 A", u"zz", u"0x0x"}) EXPECT_FALSE(ParseHexBytes(bad));
}

TEST(ExprByteData, ClonesCopyBytesAndEqualityFollowsTheKind) {
    PExprItem hex = MakeItem<ExprItem_Hex>(std::vector<uint8_t>{1, 2});
    PExprItem hexCopy = hex->Clone();
    ItemAs<ExprItem_Hex>(hexCopy)->bytes.push_back(3);
    EXPECT_EQ(ItemAs<ExprItem_Hex>(hex)->bytes.size(), 2u);
    EXPECT_TRUE(hex->IsEqual(*MakeItem<ExprItem_Hex>(std::vector<uint8_t>{1, 2}).Item()));
    EXPECT_FALSE(hex->IsEqual(*hexCopy.Item()));

    PExprItem bin = MakeItem<ExprItem_BinData>(std::vector<uint8_t>{1, 2});
    PExprItem binCopy = bin->Clone();
    EXPECT_EQ(*BytesOf(binCopy), (std::vector<uint8_t>{1, 2}));
    EXPECT_NE(BytesOf(binCopy), BytesOf(bin));
    // Binary data shows by identity: equal bytes are not enough.
    EXPECT_FALSE(bin->IsEqual(*binCopy.Item()));
    EXPECT_NE(bin->GetDisplayText(), binCopy->GetDisplayText());
    EXPECT_FALSE(hex->IsEqual(*bin.Item()));
    EXPECT_EQ(BytesOf(Text(u"0x01")), nullptr);
}

// ---- Value lists ----

// A node that counts its evaluations and evaluates to the Number 7.
int evaluations = 0;
class CountingNode : public ExprItem_Empty {
public:
    PExprItem Evaluate() override {
        ++evaluations;
        return Num(7);
    }
    PExprItem Clone() const override { return MakeItem<CountingNode>(); }
};

TEST(ExprValueList, ElementsAreEvaluatedOnlyWhenAskedAndClonedEach) {
    evaluations = 0;
    auto* list = new ExprItem_ValueList();
    PExprItem h = PExprItem::Of(list);
    list->elements = {MakeItem<CountingNode>(), PExprItem(), Text(u"t")};
    EXPECT_EQ(h->Evaluate().Item(), list);
    EXPECT_EQ(evaluations, 0);
    EXPECT_EQ(AsText(EvaluateListElement(*list, 0)), u"7");
    EXPECT_EQ(evaluations, 1);
    EXPECT_FALSE(EvaluateListElement(*list, 1));
    EXPECT_EQ(AsText(EvaluateListElement(*list, 2)), u"t");
    EXPECT_FALSE(EvaluateListElement(*list, 3));

    PExprItem copy = h->Clone();
    auto* c = ItemAs<ExprItem_ValueList>(copy);
    ASSERT_EQ(c->elements.size(), 3u);
    EXPECT_NE(c->elements[2].Item(), list->elements[2].Item());
    EXPECT_FALSE(c->elements[1]);
}

// ---- File finders ----

struct FakeLog {
    Texts calls;
    bool destroyed = false;
};

class FakeSearch : public FileSearch {
public:
    FakeSearch(FakeLog& log, std::vector<FoundFile> files) : log_(log), files_(std::move(files)) {}
    ~FakeSearch() override { log_.destroyed = true; }
    bool First(std::u16string_view pattern, FoundFile& found) override {
        return Take(u"First " + std::u16string(pattern), found);
    }
    bool Next(FoundFile& found) override { return Take(u"Next", found); }

private:
    bool Take(std::u16string call, FoundFile& found) {
        log_.calls.push_back(std::move(call));
        if (next_ >= files_.size()) return false;
        found = files_[next_++];
        return true;
    }
    FakeLog& log_;
    std::vector<FoundFile> files_;
    size_t next_ = 0;
};

FoundFile File(std::u16string name, uint32_t attributes = 0x20, uint64_t size = 0) {
    return FoundFile{.name = std::move(name), .attributes = attributes, .size = size};
}

PExprItem Finder(std::u16string pattern, FakeLog& log, std::vector<FoundFile> files) {
    return CreateFileFinder(pattern, std::make_unique<FakeSearch>(log, std::move(files)));
}

// One entry of a finder's answer as text; "<none>" when there is no answer.
std::u16string Field(const PExprItem& answer, const std::u16string& name) {
    const auto* record = ItemAs<ExprItem_NamedData>(answer);
    return record ? AsText(record->Get(name)) : u"<none>";
}

TEST(ExprFileFinder, FirstCallStartsTheSearchThenNextUntilItRunsOut) {
    FakeLog log;
    PExprItem finder = Finder(u"C:\\data\\*.txt", log, {File(u"a.txt"), File(u"b.txt")});
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(Field(FindNextFile(finder), u"FileName"), u"a.txt");
    EXPECT_EQ(Field(containers::FindNextFile(std::vector<PExprItem>{finder}), u"FileName"), u"b.txt");
    EXPECT_FALSE(log.destroyed);
    EXPECT_FALSE(FindNextFile(finder));
    EXPECT_TRUE(log.destroyed);  // the search is closed as soon as it runs out
    EXPECT_FALSE(FindNextFile(finder));
    EXPECT_EQ(log.calls, (Texts{u"First C:\\data\\*.txt", u"Next", u"Next"}));
}

TEST(ExprFileFinder, AnswersDescribeTheMatchInAFixedOrder) {
    FakeLog log;
    FoundFile folder = File(u"sub", kFolderAttribute, 0);
    folder.lastWriteTime = 90061;
    PExprItem finder = Finder(u"D:/logs/*", log, {File(u"."), File(u".."), folder, File(u"big.bin", 0x21, 5000000000ull)});
    PExprItem first = FindNextFile(finder);
    auto* d = ItemAs<ExprItem_NamedData>(first);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->order, (Texts{u"FileName", u"FullPath", u"IsFolder", u"Size", u"Attributes", u"CreationTime",
                               u"LastAccessTime", u"LastModifyTime"}));
    EXPECT_EQ(AsText(d->Get(u"FullPath")), u"D:/logs/sub");  // "." and ".." skipped
    EXPECT_TRUE(AsTruth(d->Get(u"IsFolder")));
    EXPECT_EQ(AsText(d->Get(u"Attributes")), u"0x10");
    EXPECT_EQ(ItemAs<ExprItem_DateTime>(d->Get(u"LastModifyTime"))->seconds, 90061);
    PExprItem next = FindNextFile(finder);
    EXPECT_EQ(Field(next, u"IsFolder"), u"False");
    EXPECT_EQ(AsNumber(ItemAs<ExprItem_NamedData>(next)->Get(u"Size")), 5000000000.0);
}

TEST(ExprFileFinder, EmptySearchesAndFindersWithoutSearch) {
    FakeLog log, unused, cloned;
    EXPECT_FALSE(FindNextFile(Finder(u"*.none", log, {File(u".")})));
    EXPECT_TRUE(log.destroyed);
    EXPECT_FALSE(Finder(u"", unused, {}));
    EXPECT_TRUE(unused.destroyed);
    EXPECT_FALSE(CreateFileFinder(u"*.txt", nullptr));
    // A finder made from a stored expression has no search: it finds nothing.
    EXPECT_FALSE(FindNextFile(MakeItem<ExprItem_FileFinder>()));
    EXPECT_FALSE(FindNextFile(Text(u"C:\\*.txt")));
    PExprItem finder = Finder(u"a*", cloned, {File(u"ab")});
    EXPECT_FALSE(finder->Clone());
    EXPECT_EQ(Field(FindNextFile(finder), u"FullPath"), u"ab");

    for (auto [pattern, folder] : {std::pair<const char16_t*, const char16_t*>{u"C:\\a\\b\\*.txt", u"C:\\a\\b\\"},
                                   {u"C:*.txt", u"C:"}, {u"*.txt", u""}}) {
        EXPECT_EQ(PatternFolder(pattern), folder);
    }
}

}  // namespace
}  // namespace ovrix
