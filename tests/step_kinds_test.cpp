// The table of step kinds: every id made through its row, and its step with
// every field set loaded, saved and compared field by field; ExecuteStep
// playing a step through its row; the variable steps, whose one stored
// expression survives load and save byte for byte.
#include <gtest/gtest.h>

#include "SimFixture.h"
#include "StepTestSupport.h"
#include "engine/FunctionSteps.h"
#include "engine/HandlerSteps.h"
#include "engine/Playback.h"
#include "shell/StepKindsAll.h"
#include "engine/Runtime.h"
#include "engine/VariableSteps.h"
#include "source/FieldValues.h"
#include "source/StepFields.h"

namespace ovrix {
namespace {

// Saved and loaded back, a list's one step is equal, keeps its text and
// disabled flag and saves the same bytes again.
void ExpectSavedAgain(const EventList& list) {
    const Bytes first = SaveStream(list);
    EventList loaded;
    ASSERT_TRUE(LoadSteps(RegionOf(first), loaded));
    ASSERT_EQ(loaded.Count(), 1u);
    EXPECT_TRUE(loaded.IsEqual(list));
    EXPECT_EQ(loaded.At(0)->disabled, list.At(0)->disabled);
    EXPECT_EQ(loaded.At(0)->GetText(), list.At(0)->GetText());
    EXPECT_EQ(SaveStream(loaded), first);
}

void LoadStepRecord(const RecordBuffer& record, EventList& list) {
    RecordBuffer stream;
    WriteContainer(stream, tag::Step(0), record);
    LoadSteps(stream.AsRegion(), list);
}

// A record's fields one a line, for a readable difference.
std::string Listing(Region record) {
    std::string out;
    for (auto at = FirstRecord(record); at; at = NextRecord(record, *at)) {
        const Record r = RecordAt(record, *at);
        out += ToUtf8(TagText(r.tag)) + " " + ToUtf8(HexLiteral(r.data)) + "\n";
    }
    return out;
}

// What a kind does with a field of the rich step other than load it, write
// it back as it was and compare it.
enum class Kept {
    Dropped,      // another record wins: neither loaded nor written back
    Rewritten,    // loaded, and written back as `saved` gives it
    WithoutCase,  // compared without letter case
    NotCompared,  // kept, but no part of equality
    Converted,    // the whole step loads as a step of another kind
};

struct Expectation {
    uint32_t typeId;  // 0: every kind with the row
    std::u16string_view row;
    Kept kept;
    Bytes (*saved)() = nullptr;
};

// A nested list is written without a stream's magic and version, and each
// of its steps with its whole header.
Bytes SavedCommentList() {
    RecordBuffer step, list;
    WriteU32(step, tag::kType, 43);
    WriteU32(step, tag::kDelay, 1000);
    WriteU32(step, tag::kDisabled, 0);
    WriteString(step, MakeTag("CMT"), u"inner");
    WriteContainer(list, tag::Step(0), step);
    return list.ToVector();
}

const Expectation kExpectations[] = {
    {0, u"disabled", Kept::NotCompared},  // equality leaves the disabled flag out
    {0, u"sub", Kept::Rewritten, SavedCommentList},
    // Coordinate expressions win over the older whole numbers.
    {0, u"oldX", Kept::Dropped},
    {0, u"oldY", Kept::Dropped},
    // File paths; every other text, a window title say, keeps its case.
    {1, u"file", Kept::WithoutCase},
    {38, u"from", Kept::WithoutCase},
    {38, u"to", Kept::WithoutCase},
    // A picture record wins over the older bitmap file's.
    {2, u"bitmapFile", Kept::Dropped},
    // A loop variable is kept in its canonical form.
    {8, u"variable", Kept::Rewritten, [] { return TextData(u"$(a\tb\"c\u00e9)"); }},
    // A text input becomes a call step that types the text, without a name.
    {16, u"", Kept::Converted},
    {16, u"name", Kept::Dropped},
    // An empty rectangle widens to 10 from its left and top.
    {32, u"right", Kept::Rewritten, [] { return U32Data(5); }},
    {32, u"bottom", Kept::Rewritten, [] { return U32Data(5); }},
    // The file expression wins over the plain file name.
    {40, u"fileText", Kept::Dropped},
};

// Every kind's step with every field of the source table set: the loader
// keeps each field and Save writes it back where it read it, a reload is
// equal and saves the same bytes, and a change of any one field (of either
// item of an indexed group) makes the step unequal.
void ExpectEveryFieldKeptAndCompared(const StepForm& form, std::vector<bool>& used) {
    const auto expectation = [&](std::u16string_view row) -> const Expectation* {
        for (const Expectation& e : kExpectations) {
            if ((e.typeId == form.typeId || (e.typeId == 0 && !row.empty())) && e.row == row) {
                used[&e - kExpectations] = true;
                return &e;
            }
        }
        return nullptr;
    };
    EventList list;
    LoadStepRecord(RichRecord(form), list);
    ASSERT_EQ(list.Count(), 1u);
    const Ref<Event> step = list.Steps()[0];
    const bool converted = expectation(u"") != nullptr;
    EXPECT_EQ(converted, PlayerStepKinds().Find(form.typeId)->convert != nullptr);
    if (!converted) {
        RecordBuffer saved;
        SaveSteps(list, saved);
        const RecordBuffer expected = RichRecord(form, [&](const FieldRow& row, uint32_t item) -> std::optional<Bytes> {
            const Expectation* e = expectation(row.name);
            if (e && e->kept == Kept::Dropped) return std::nullopt;
            if (e && e->kept == Kept::Rewritten) return e->saved();
            return RichValue(form, row, item);
        });
        EXPECT_EQ(Listing(*FindRecord(saved.AsRegion(), tag::Step(0))), Listing(expected.AsRegion()));
    }
    ExpectSavedAgain(list);

    for (size_t r = 0; r < form.RowCount(); ++r) {
        const FieldRow& row = form.Row(r);
        const Expectation* e = expectation(row.name);
        if (e && (e->kept == Kept::Dropped || e->kept == Kept::NotCompared)) continue;
        const std::vector<Bytes> changes = ChangedValues(row);
        for (uint32_t item = 0; item < (row.indexing == Indexing::None ? 1u : 2u); ++item) {
            for (size_t c = 0; c < changes.size(); ++c) {
                EventList changed;
                LoadStepRecord(RichRecord(form, [&](const FieldRow& x, uint32_t i) -> std::optional<Bytes> {
                    return &x == &row && i == item ? changes[c] : RichValue(form, x, i);
                }), changed);
                ASSERT_EQ(changed.Count(), 1u);
                const bool caseOnly = e && e->kept == Kept::WithoutCase && c == 0;
                EXPECT_EQ(changed.At(0)->IsEqual(*step), caseOnly)
                    << ToUtf8(row.name) << " item " << item << " holding " << ToUtf8(HexLiteral(RegionOf(changes[c])));
            }
        }
    }

    // A copy is equal and owns a copy of the body.
    const Ref<Event> copy = step->Clone();
    EXPECT_TRUE(copy->IsEqual(*step));
    if (EventList* body = copy->GetChildList()) {
        body->Append(copy->Clone());
        EXPECT_FALSE(copy->IsEqual(*step));
        EXPECT_EQ(step->GetChildList()->Count(), 1u);
    }
}

TEST(StepKinds, EveryIdButTheUnusedOnesIsMadeSavedLoadedAndCompared) {
    std::vector<bool> used(std::size(kExpectations));
    for (uint32_t id = 0; id <= kMaxTypeId + 1; ++id) {
        SCOPED_TRACE(id);
        const bool unused = id == 0 || id == 21 || id == 22 || id == 56 || id > kMaxTypeId;
        const StepKind* kind = PlayerStepKinds().Find(id);
        ASSERT_EQ(kind == nullptr, unused);
        ASSERT_EQ(FindStepForm(id) == nullptr, unused);
        if (unused) continue;
        const Ref<Event> step = CreateEvent(id);
        EXPECT_EQ(step->TypeId(), id);
        EXPECT_EQ(step->delay, id == FunStartEvent::kTypeId ? 0u : 1000u);  // a function start waits nothing
        EXPECT_EQ(step->GetTypeKey().value_or(u""), kind->typeKey);
        EXPECT_EQ(step->GetDisplayName().value_or(u""), kind->displayName);
        ExpectEveryFieldKeptAndCompared(*FindStepForm(id), used);
        if (kind->convert != nullptr) continue;  // a fresh step of it is never saved

        // A fresh step may not be in the form loading gives (coordinates not
        // yet set load as 0, 0); from its first load on nothing may change.
        const Ref<Event> loaded = LoadRecord(id, [&](RecordBuffer& b) { step->Save(b); });
        ASSERT_TRUE(loaded);
        EventList list;
        list.Append(loaded);
        ExpectSavedAgain(list);
    }
    for (size_t i = 0; i < used.size(); ++i) EXPECT_TRUE(used[i]) << "an expectation no kind meets: " << i;
    EXPECT_EQ(PlayerStepKinds().Find(2)->displayName, u"Search Picture");
    EXPECT_EQ(PlayerStepKinds().Find(10)->typeKey, u"ContinueFor");
    EXPECT_TRUE(PlayerStepKinds().Find(LabelEvent::kTypeId)->typeKey.empty());  // labels have neither
}

TEST(StepKinds, AnEmptyTableLoadsNoStep) {
    Runtime empty;
    const RuntimeScope scope(empty);
    EXPECT_FALSE(LoadRecord(LabelEvent::kTypeId));
}

// A kind without a play function takes no time and shows nothing; a kind
// whose action is not built yet only waits its delay.
TEST(StepKinds, ExecuteStepPlaysThroughTheRow) {
    SimFixture f;
    EventList list;
    list.Append(MakeRef<LabelEvent>());
    list.Append(MakeRef<CreateThreadEvent>());
    list.At(0)->delay = 700;
    list.At(1)->delay = 300;
    f.desktop.BeginTrace();
    RunEventList(f.player, list, nullptr, 1);
    EXPECT_EQ(f.Events("line status \"Step Complete\"").size(), 1u);
    EXPECT_GE(f.sim.ElapsedMs(), 300u);
    EXPECT_LT(f.sim.ElapsedMs(), 700u);
}

// Set $n = 5 as a stored SetVar node: 'VAR' and 'VAL' are nested nodes.
StoredExpr SetNode(uint32_t kind) {
    RecordBuffer target;
    WriteU32(target, tag::kType, 256);
    WriteString(target, MakeTag("VAR"), u"$n");
    RecordBuffer value;
    WriteU32(value, tag::kType, 257);
    WriteF64(value, MakeTag("NUM"), 5.0);
    RecordBuffer node;
    WriteU32(node, tag::kType, kind);
    WriteContainer(node, MakeTag("VAR"), target);
    WriteContainer(node, MakeTag("VAL"), value);
    return StoredExpr(node.ToVector());
}

TEST(VariableSteps, ExpressionSurvivesRoundTripForEveryClass) {
    struct Case {
        uint32_t type, nodeKind;
        const char16_t* text;
    };
    const Case cases[] = {{33, 2050, u"Set $n = 5"},
                          {35, 2051, u"Add 5 to $n"},
                          {44, 2057, u"Remove $n"},
                          {48, 2066, u"Alias $n = 5"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(CreateEvent(c.type)->GetText(), u"");  // no expression: no text
        const Ref<Event> step = LoadRecord(c.type, [&](RecordBuffer& r) { SetNode(c.nodeKind).Save(r, tag::kCode); });
        ASSERT_TRUE(step);
        EXPECT_EQ(step->GetText(), c.text);

        // The expression's bytes come back exactly as they were stored.
        RecordBuffer saved;
        step->Save(saved);
        StoredExpr code;
        code.Load(saved.AsRegion(), tag::kCode);
        EXPECT_EQ(code, SetNode(c.nodeKind));
    }
}

}  // namespace
}  // namespace ovrix
