// Containers: arrays, named data, byte data, value lists and file finders,
// with their index rules, sharing of cells, copying and printing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "expr/Array.h"
#include "expr/ByteData.h"
#include "expr/FileFinder.h"
#include "expr/KindsNode.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"
#include "expr/NamedData.h"

namespace ovrix {
namespace {

using Args = std::vector<PExprItem>;

PExprItem Num(double v) { return MakeItem<ExprItem_Num>(v); }
PExprItem Text(std::u16string t) { return MakeItem<ExprItem_Text>(std::move(t)); }

// The array's slots as their value texts, "-" for an empty slot.
std::vector<std::u16string> Contents(const AnyArray& a) {
    std::vector<std::u16string> out;
    for (const PExprItem& e : a.elements) out.push_back(e ? e->GetValueText() : u"-");
    return out;
}

using Texts = std::vector<std::u16string>;

AnyArray& NewArrayOf(PExprItem& holder, std::initializer_list<PExprItem> items) {
    holder = MakeItem<AnyArray>();
    AnyArray& a = *ItemAs<AnyArray>(holder);
    for (const PExprItem& item : items) a.Push(item);
    return a;
}

AnyArray& NewArray(PExprItem& holder, std::initializer_list<double> numbers = {}) {
    AnyArray& a = NewArrayOf(holder, {});
    for (double n : numbers) a.Push(Num(n));
    return a;
}

// ---- Arrays ----

TEST(ExprArray, PushPopAndGetBounds) {
    PExprItem h;
    AnyArray& a = NewArray(h, {1, 2, 3});
    EXPECT_EQ(AsText(a.Pop()), u"3");
    EXPECT_EQ(AsText(a.Get(1)), u"2");
    EXPECT_FALSE(a.Get(2));
    EXPECT_FALSE(a.Get(-1));
    a.Clear();
    EXPECT_FALSE(a.Pop());
    EXPECT_EQ(a.Size(), 0);
}

TEST(ExprArray, PushSharesTheItemButSetAndInsertShareTheCell) {
    PExprItem h;
    AnyArray& a = NewArray(h);
    PExprItem variable = Num(1);
    a.Push(variable);
    EXPECT_EQ(a.Get(0).Item(), variable.Item());  // the item is not copied
    EXPECT_FALSE(a.Get(0).SharesCellWith(variable));
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

TEST(ExprArray, InsertClampsItsIndexAndRemoveCapsItsRange) {
    PExprItem h;
    AnyArray& a = NewArray(h, {1, 2});
    a.Insert(99, Num(9));
    a.Insert(-5, Num(0));
    a.Insert(2, Num(5));
    EXPECT_EQ(Contents(a), (Texts{u"0", u"1", u"5", u"2", u"9"}));

    a.Remove(1, 2);
    EXPECT_EQ(Contents(a), (Texts{u"0", u"2", u"9"}));
    a.Remove(0, 0);
    a.Remove(0, -1);
    a.Remove(-1, 1);
    a.Remove(3, 1);  // index == size
    EXPECT_EQ(Contents(a), (Texts{u"0", u"2", u"9"}));
    a.Remove(1, std::numeric_limits<int64_t>::max());
    EXPECT_EQ(Contents(a), (Texts{u"0"}));
}

TEST(ExprArray, SortComparesByTheFirstSlotsKind) {
    PExprItem h;
    AnyArray& a = NewArrayOf(h, {Num(10), Text(u"9"), Num(100)});
    a.Sort(true);
    EXPECT_EQ(Contents(a), (Texts{u"9", u"10", u"100"}));
    EXPECT_EQ(a.Get(0)->Kind(), kind::kText);
    // Now the first slot is the text 9, so a second sort compares texts.
    a.Sort(false);
    EXPECT_EQ(Contents(a), (Texts{u"9", u"100", u"10"}));

    AnyArray& b = NewArrayOf(h, {Text(u"10"), Num(9), Text(u"100")});
    b.Sort(true);
    EXPECT_EQ(Contents(b), (Texts{u"10", u"100", u"9"}));

    // An empty first slot is not a Number: texts compare, no value as "".
    AnyArray& d = NewArrayOf(h, {PExprItem(), Num(5), Num(40)});
    d.Sort(false);
    EXPECT_EQ(Contents(d), (Texts{u"5", u"40", u"-"}));
}

TEST(ExprArray, SortKeepsEverySlotWhenNumbersAreNotANumber) {
    PExprItem h;
    AnyArray& a = NewArray(h, {3, std::nan(""), 1, std::nan(""), 2});
    a.Sort(true);
    ASSERT_EQ(a.Size(), 5);
    EXPECT_EQ(AsNumber(a.Get(0)), 1);
    EXPECT_EQ(AsNumber(a.Get(1)), 2);
    EXPECT_EQ(AsNumber(a.Get(2)), 3);
}

TEST(ExprArray, PrintLinesRangesAndRawText) {
    PExprItem h;
    AnyArray& a = NewArray(h, {1, 2});
    EXPECT_EQ(a.Print(0, 0, false), u"[0] = 1\r\n[1] = 2\r\n");  // count 0: to the end
    EXPECT_EQ(a.Print(0, 1, false), u"[0] = 1\r\n");
    EXPECT_EQ(a.Print(2, 0, false), u"");
    EXPECT_EQ(a.Print(0, -1, false), u"");
    EXPECT_EQ(a.Print(-1, 2, false), u"[0] = 1\r\n");
    EXPECT_EQ(a.Print(std::numeric_limits<int64_t>::min(), 1, false), u"");
    EXPECT_EQ(a.Print(1, std::numeric_limits<int64_t>::max(), false), u"[1] = 2\r\n");

    AnyArray& t = NewArrayOf(h, {Text(u"abcdefghijklmnopqrstuvwxyz"), PExprItem(), Text(u"")});
    EXPECT_EQ(t.Print(0, 0, false), u"[0] = \"abcdefghi...rstuvwxyz\"\r\n[1] = \r\n[2] = Empty\r\n");
    EXPECT_EQ(t.Print(0, 0, true), u"abcdefghijklmnopqrstuvwxyz\r\n\r\n\r\n");
}

TEST(ExprArray, CloneSharesCellsAndIsAnotherArray) {
    PExprItem h;
    AnyArray& a = NewArray(h, {1, 2});
    PExprItem copy = h->Clone();
    AnyArray& b = *ItemAs<AnyArray>(copy);
    ASSERT_EQ(b.Size(), 2);
    EXPECT_TRUE(b.Get(0).SharesCellWith(a.Get(0)));

    // A change made inside an element's item shows in both arrays, and so
    // does an assignment through a shared cell.
    ItemAs<ExprItem_Num>(a.Get(0))->value = 41;
    EXPECT_EQ(AsText(b.Get(0)), u"41");
    a.Get(1).Assign(new ExprItem_Text(u"x"));
    EXPECT_EQ(AsText(b.Get(1)), u"x");

    // The slot vectors themselves are separate.
    b.Push(Num(3));
    EXPECT_EQ(a.Size(), 2);
    EXPECT_FALSE(h->IsEqual(*copy.Item()));
}

bool RecordUntilText(ExprItem* item, void* context) {
    auto* seen = static_cast<std::vector<uint32_t>*>(context);
    seen->push_back(item->Kind());
    return item->Kind() != kind::kText;
}

TEST(ExprArray, WalkVisitsTheArrayThenEachElementAndStops) {
    PExprItem h;
    NewArrayOf(h, {Num(1), PExprItem(), Text(u"t"), Num(2)});
    std::vector<uint32_t> seen;
    EXPECT_FALSE(h->Walk(RecordUntilText, &seen));
    EXPECT_EQ(seen, (std::vector<uint32_t>{kind::kArray, kind::kNumber, kind::kText}));
}

// ---- Array operations as built-in functions call them ----

TEST(ExprArrayOps, ArgumentRulesAndResults) {
    using namespace containers;
    PExprItem a = Array_Create({});
    ASSERT_NE(ItemAs<AnyArray>(a), nullptr);

    EXPECT_FALSE(Array_Push(Args{a, Num(1)}));
    Array_Push(Args{a, Text(u"b")});
    Array_Push(Args{a});                  // too few: nothing
    Array_Push(Args{Text(u"x"), Num(1)});  // not an array: nothing
    EXPECT_EQ(AsNumber(Array_GetSize(Args{a})), 2);
    EXPECT_FALSE(Array_GetSize(Args{Num(1)}));

    EXPECT_EQ(AsText(Array_Get(Args{a, Num(1.9)})), u"b");
    EXPECT_FALSE(Array_Get(Args{a}));
    EXPECT_EQ(AsText(Array_Get(Args{a, Num(-0.5)})), u"1");  // truncates to 0

    Array_Set(Args{a, Num(0)});  // too few: nothing
    Array_Set(Args{a, Num(0), Num(5)});
    Array_Insert(Args{a, Num(99), Num(6)});
    EXPECT_EQ(Contents(*ItemAs<AnyArray>(a)), (Texts{u"5", u"b", u"6"}));
    Array_Remove(Args{a, Num(0)});  // count defaults to 1
    Array_Remove(Args{a});
    EXPECT_EQ(Contents(*ItemAs<AnyArray>(a)), (Texts{u"b", u"6"}));

    EXPECT_FALSE(Array_Print(Args{a, Num(0)}));
    EXPECT_EQ(AsText(Array_Print(Args{a, Num(0), Num(0), MakeItem<ExprItem_Bool>(true)})), u"b\r\n6\r\n");
    EXPECT_EQ(Array_Print(Args{a, Num(5), Num(0)})->Kind(), kind::kText);  // empty text, still a value

    Array_Sort(Args{a});  // needs the direction
    EXPECT_EQ(Contents(*ItemAs<AnyArray>(a)), (Texts{u"b", u"6"}));
    Array_Sort(Args{a, MakeItem<ExprItem_Bool>(true)});
    EXPECT_EQ(AsText(Array_Pop(Args{a})), u"b");
}

// ---- Named data ----

ExprItem_NamedData& NewRecord(PExprItem& holder) {
    holder = MakeItem<ExprItem_NamedData>();
    return *ItemAs<ExprItem_NamedData>(holder);
}

std::u16string NameAt(const ExprItem_NamedData& d, int64_t i) {
    const std::u16string* name = d.GetName(i);
    return name ? *name : u"<none>";
}

TEST(ExprNamedData, OrderIsFirstSetAndNamesAreExact) {
    PExprItem h;
    ExprItem_NamedData& d = NewRecord(h);
    d.Set(u"b", Num(1));
    d.Set(u"a", Num(2));
    d.Set(u"B", Num(3));
    d.Set(u"", Num(4));  // ignored
    d.Set(u"b", Text(u"again"));
    EXPECT_EQ(d.Print(), u"b = \"again\"\r\na = 2\r\nB = 3\r\n");
    EXPECT_EQ(NameAt(d, 3), u"<none>");
    EXPECT_EQ(NameAt(d, -1), u"<none>");
    EXPECT_FALSE(d.Get(u""));

    d.Remove(u"b");
    d.Remove(u"missing");
    d.Set(u"b", Num(5));  // set again after removal: now last
    EXPECT_EQ(d.Print(), u"a = 2\r\nB = 3\r\nb = 5\r\n");
    EXPECT_EQ(NameAt(d, 0), u"a");
    d.Clear();
    EXPECT_EQ(d.Size(), 0);
    EXPECT_EQ(NameAt(d, 0), u"<none>");
}

TEST(ExprNamedData, EntriesHoldCellsAndEntriesWithoutValue) {
    PExprItem h;
    ExprItem_NamedData& d = NewRecord(h);
    PExprItem variable = Num(1);
    d.Set(u"v", variable);
    d.Set(u"none", PExprItem());
    variable.Assign(new ExprItem_Num(8));
    EXPECT_EQ(AsText(d.Get(u"v")), u"8");
    EXPECT_FALSE(d.Get(u"none"));
    EXPECT_EQ(d.Size(), 2);
    EXPECT_EQ(d.Print(), u"v = 8\r\nnone = \r\n");
}

TEST(ExprNamedData, CloneCopiesTheMapButSharesValues) {
    PExprItem h;
    ExprItem_NamedData& d = NewRecord(h);
    d.Set(u"a", Num(1));
    d.Set(u"b", Num(2));
    PExprItem copy = h->Clone();
    ExprItem_NamedData& c = *ItemAs<ExprItem_NamedData>(copy);
    c.Set(u"z", Num(9));
    c.Remove(u"a");
    EXPECT_EQ(d.Print(), u"a = 1\r\nb = 2\r\n");
    EXPECT_EQ(c.Print(), u"b = 2\r\nz = 9\r\n");
    d.Get(u"b").Assign(new ExprItem_Text(u"shared"));
    EXPECT_EQ(AsText(c.Get(u"b")), u"shared");
}

TEST(ExprNamedDataOps, ArgumentRulesAndResults) {
    using namespace containers;
    PExprItem d = NamedData_Create({});
    ASSERT_NE(ItemAs<ExprItem_NamedData>(d), nullptr);
    NamedData_Set(Args{d, Num(5), Text(u"five")});  // the name is read as text
    NamedData_Set(Args{d, Text(u"x")});             // too few: nothing
    NamedData_Set(Args{MakeItem<AnyArray>(), Text(u"x"), Num(1)});
    EXPECT_EQ(AsText(NamedData_Print(Args{d})), u"5 = \"five\"\r\n");
    EXPECT_FALSE(NamedData_Get(Args{d}));
    EXPECT_EQ(AsText(NamedData_GetName(Args{d, Num(0.7)})), u"5");
    EXPECT_FALSE(NamedData_GetName(Args{d, Num(1)}));
    EXPECT_FALSE(NamedData_Print(Args{Num(1)}));
    NamedData_Remove(Args{d, Text(u"5")});
    EXPECT_EQ(AsNumber(NamedData_GetSize(Args{d})), 0);
}

// ---- Byte data ----

TEST(ExprByteData, ParsesHexTextInPairs) {
    EXPECT_EQ(ParseHexBytes(u"0x0Aff10"), (std::vector<uint8_t>{0x0A, 0xFF, 0x10}));
    EXPECT_EQ(ParseHexBytes(u"  0X01 02\r\n03"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(ParseHexBytes(u"0x"), std::vector<uint8_t>{});
    for (const char16_t* bad : {u"ABC", u"0 A", u"zz", u"0x0x"}) EXPECT_FALSE(ParseHexBytes(bad));
}

TEST(ExprByteData, OperationsOnHexAndBinData) {
    using namespace containers;
    PExprItem bin = BinData_FromText(Args{Text(u"0x0102FF")});
    ASSERT_NE(ItemAs<ExprItem_BinData>(bin), nullptr);
    EXPECT_EQ(AsNumber(BinData_GetSize(Args{bin})), 3);
    EXPECT_EQ(AsNumber(BinData_GetByte(Args{bin, Num(2.9)})), 255);
    EXPECT_FALSE(BinData_GetByte(Args{bin, Num(3)}));
    EXPECT_FALSE(BinData_GetByte(Args{bin, Num(-1)}));
    EXPECT_FALSE(BinData_GetByte(Args{bin}));

    PExprItem hex = MakeItem<ExprItem_Hex>(std::vector<uint8_t>{9, 8});
    EXPECT_EQ(AsNumber(BinData_GetByte(Args{hex, Num(1)})), 8);
    EXPECT_EQ(Hex_GetSize(Args{MakeItem<ExprItem_Hex>()})->Kind(), kind::kNumber);  // 0, still a value
    EXPECT_FALSE(Hex_GetSize(Args{Text(u"0x01")}));

    EXPECT_FALSE(BinData_FromText(Args{Text(u"")}));
    EXPECT_FALSE(BinData_FromText(Args{Text(u"xyz")}));
    EXPECT_EQ(AsNumber(BinData_GetSize(Args{BinData_FromText(Args{Text(u"0x")})})), 0);
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

TEST(ExprValueList, ElementsAreEvaluatedOnlyWhenAsked) {
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
}

TEST(ExprValueList, CloneClonesEachElement) {
    auto* list = new ExprItem_ValueList();
    PExprItem h = PExprItem::Of(list);
    list->elements = {Num(1), PExprItem()};
    PExprItem copy = h->Clone();
    auto* c = ItemAs<ExprItem_ValueList>(copy);
    ASSERT_EQ(c->elements.size(), 2u);
    EXPECT_NE(c->elements[0].Item(), list->elements[0].Item());
    EXPECT_FALSE(c->elements[1]);
}

// ---- File finders ----

struct FakeLog {
    std::vector<std::u16string> calls;
    bool destroyed = false;
};

class FakeSearch : public FileSearch {
public:
    FakeSearch(FakeLog& log, std::vector<FoundFile> files) : log_(log), files_(std::move(files)) {}
    ~FakeSearch() override { log_.destroyed = true; }
    bool First(std::u16string_view pattern, FoundFile& found) override {
        log_.calls.push_back(u"First " + std::u16string(pattern));
        next_ = 0;
        return Take(found);
    }
    bool Next(FoundFile& found) override {
        log_.calls.push_back(u"Next");
        return Take(found);
    }

private:
    bool Take(FoundFile& found) {
        if (next_ >= files_.size()) return false;
        found = files_[next_++];
        return true;
    }
    FakeLog& log_;
    std::vector<FoundFile> files_;
    size_t next_ = 0;
};

FoundFile File(std::u16string name, uint32_t attributes = 0x20, uint64_t size = 0) {
    FoundFile f;
    f.name = std::move(name);
    f.attributes = attributes;
    f.size = size;
    return f;
}

// One entry of a finder's answer as text; "<none>" when there is no answer.
std::u16string Field(const PExprItem& answer, const std::u16string& name) {
    const auto* record = ItemAs<ExprItem_NamedData>(answer);
    return record ? AsText(record->Get(name)) : u"<none>";
}

TEST(ExprFileFinder, FirstCallStartsTheSearchThenNextUntilItRunsOut) {
    FakeLog log;
    PExprItem finder = CreateFileFinder(u"C:\\data\\*.txt",
                                        std::make_unique<FakeSearch>(log, std::vector<FoundFile>{File(u"a.txt"), File(u"b.txt")}));
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(Field(FindNextFile(finder), u"FileName"), u"a.txt");
    EXPECT_EQ(Field(containers::FindNextFile(Args{finder}), u"FileName"), u"b.txt");
    EXPECT_FALSE(log.destroyed);
    EXPECT_FALSE(FindNextFile(finder));
    EXPECT_TRUE(log.destroyed);  // the search is closed as soon as it runs out
    EXPECT_FALSE(FindNextFile(finder));
    EXPECT_EQ(log.calls, (Texts{u"First C:\\data\\*.txt", u"Next", u"Next"}));
}

TEST(ExprFileFinder, AnswersDescribeTheMatchInAFixedOrder) {
    FakeLog log;
    FoundFile folder = File(u"sub", kFolderAttribute, 0);
    folder.creationTime = 86400;
    folder.lastWriteTime = 90061;
    FoundFile big = File(u"big.bin", 0x21, 5000000000ull);
    PExprItem finder = CreateFileFinder(
        u"D:/logs/*", std::make_unique<FakeSearch>(log, std::vector<FoundFile>{File(u"."), File(u".."), folder, big}));

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
    auto* second = ItemAs<ExprItem_NamedData>(next);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(AsTruth(second->Get(u"IsFolder")));
    EXPECT_EQ(AsNumber(second->Get(u"Size")), 5000000000.0);
}

TEST(ExprFileFinder, EmptySearchesAndFindersWithoutSearch) {
    FakeLog log;
    PExprItem none = CreateFileFinder(u"*.none", std::make_unique<FakeSearch>(log, std::vector<FoundFile>{File(u".")}));
    EXPECT_FALSE(FindNextFile(none));
    EXPECT_TRUE(log.destroyed);

    FakeLog unused;
    EXPECT_FALSE(CreateFileFinder(u"", std::make_unique<FakeSearch>(unused, std::vector<FoundFile>{})));
    EXPECT_TRUE(unused.destroyed);
    EXPECT_FALSE(CreateFileFinder(u"*.txt", nullptr));

    // A finder made from a stored expression has no search: it finds nothing.
    EXPECT_FALSE(FindNextFile(MakeItem<ExprItem_FileFinder>()));
    EXPECT_FALSE(FindNextFile(Text(u"C:\\*.txt")));

    FakeLog cloned;
    PExprItem finder = CreateFileFinder(u"a*", std::make_unique<FakeSearch>(cloned, std::vector<FoundFile>{File(u"ab")}));
    EXPECT_FALSE(finder->Clone());
    EXPECT_EQ(Field(FindNextFile(finder), u"FullPath"), u"ab");
}

TEST(ExprFileFinder, PatternFolder) {
    EXPECT_EQ(PatternFolder(u"C:\\a\\b\\*.txt"), u"C:\\a\\b\\");
    EXPECT_EQ(PatternFolder(u"C:*.txt"), u"C:");
    EXPECT_EQ(PatternFolder(u"*.txt"), u"");
}

}  // namespace
}  // namespace ovrix
