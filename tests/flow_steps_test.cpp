// Control-flow steps through the real loader: stored fields and their
// defaults, nested bodies linked to their owner and saved again, text forms
// and the conversion of old text-input records into calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builder/ImageBuilder.h"
#include "container/Container.h"
#include "container/RecordBuffer.h"
#include "container/Tags.h"
#include "engine/FlowSteps.h"
#include "engine/FunctionSteps.h"
#include "engine/StepTree.h"
#include "script/ScriptStream.h"
#include "script/StepKinds.h"
#include "StepTestSupport.h"

namespace ovrix {
namespace {

StoredExpr CallExpr(std::u16string_view function) {
    RecordBuffer node;
    WriteU32(node, tag::kType, 2060);
    WriteString(node, MakeTag("FUN"), function);
    return StoredExpr(node.ToVector());
}

template <class T>
T& As(const Ref<Event>& step) {
    EXPECT_NE(step.Get(), nullptr);
    EXPECT_EQ(step->TypeId(), T::kTypeId);
    return static_cast<T&>(*step);
}

// --- equality -------------------------------------------------------------------

// Different step classes are never equal, even with no fields at all.
TEST(FlowStepEquality, ClassesCompared) { EXPECT_FALSE(MakeRef<NextEvent>()->IsEqual(*MakeRef<EndIfEvent>())); }

// --- defaults and stored forms -----------------------------------------------------

TEST(FlowStepLoad, FileExistTakesPlainFileNameAsTextExpression) {
    auto plain = LoadRecord(IfFileExistEvent::kTypeId,
                         [](RecordBuffer& r) { WriteString(r, MakeTag("FILE"), u"C:\\data.txt"); });
    auto& f = As<IfFileExistEvent>(plain);
    EXPECT_EQ(f.fileName, TextExpr(u"C:\\data.txt"));
    EXPECT_EQ(f.GetText(), u"If IsFileExist(\"C:\\data.txt\"), Then");
    // Saved, the name is an expression under 'CODE' and 'FILE' is gone; a
    // block without steps writes no 'SUB'.
    RecordBuffer saved;
    f.Save(saved);
    EXPECT_FALSE(FindRecord(saved.AsRegion(), MakeTag("FILE")));
    EXPECT_TRUE(FindRecord(saved.AsRegion(), tag::kCode));
    EXPECT_TRUE(f.children.Empty());
    EXPECT_FALSE(FindRecord(saved.AsRegion(), tag::kSub));

    auto neither = LoadRecord(IfFileExistEvent::kTypeId);
    EXPECT_EQ(neither->GetText(), u"If IsFileExist(Empty), Then");
    EXPECT_TRUE(neither->IsEqual(*MakeRef<IfFileExistEvent>()));
}

TEST(FlowStepLoad, CaseValuesStopAtGapOrUnknownKind) {
    auto value = [](RecordBuffer& r, uint32_t index, uint32_t kind, int32_t v) {
        RecordBuffer rec;
        WriteU32(rec, tag::kType, kind);
        WriteU32(rec, MakeTag("Val"), static_cast<uint32_t>(v));
        WriteContainer(r, IndexedTag('C', index), rec);
    };
    auto gap = LoadRecord(SwitchCaseEvent::kTypeId, [&](RecordBuffer& r) {
        value(r, 0, 1, 7);
        value(r, 1, 2, -1);
        value(r, 3, 1, 9);  // index 2 is missing
    });
    EXPECT_EQ(gap->GetText(), u"Case 7,0xFFFFFFFF");
    EXPECT_EQ(As<SwitchCaseEvent>(gap).values[1]->GetKey(), u"-1");

    auto unknown = LoadRecord(SwitchCaseEvent::kTypeId, [&](RecordBuffer& r) {
        value(r, 0, 2, 10);
        value(r, 1, 4, 1);
        value(r, 2, 1, 2);
    });
    EXPECT_EQ(unknown->GetText(), u"Case 0xA");

    // A string value without its record is the empty text, shown quoted.
    auto str = LoadRecord(SwitchCaseEvent::kTypeId, [&](RecordBuffer& r) {
        RecordBuffer rec;
        WriteU32(rec, tag::kType, 3);
        WriteContainer(r, IndexedTag('C', 0), rec);
    });
    EXPECT_EQ(str->GetText(), u"Case \"\"");
}

TEST(FlowStepLoad, FunctionArgumentsFollowTheCount) {
    auto arg = [](RecordBuffer& r, uint32_t index, std::u16string_view name) {
        RecordBuffer rec;
        WriteString(rec, MakeTag("AVN"), name);
        WriteU32(rec, MakeTag("ValT"), 258);
        WriteContainer(r, IndexedTag('A', index), rec);
    };
    auto fun = LoadRecord(FunStartEvent::kTypeId, [&](RecordBuffer& r) {
        WriteString(r, MakeTag("FN"), u"Add");
        WriteU32(r, MakeTag("NArg"), 3);
        arg(r, 0, u"a");   // names are shown in canonical form
        arg(r, 2, u"$c");  // argument 1 has no record
        arg(r, 3, u"$d");  // beyond the count
    });
    auto& f = As<FunStartEvent>(fun);
    ASSERT_EQ(f.args.size(), 3u);
    EXPECT_EQ(f.args[0].valueType, 258u);
    EXPECT_EQ(f.args[1].valueType, 0u);
    EXPECT_EQ(f.GetText(), u"Function Add($a, , $c)");

    auto many = LoadRecord(FunStartEvent::kTypeId, [&](RecordBuffer& r) { WriteU32(r, MakeTag("NArg"), 40); });
    EXPECT_EQ(As<FunStartEvent>(many).args.size(), FunStartEvent::kMaxArgs);
    // A function start begins without delay, but a record without 'DLY' still
    // loads with the common default.
    EXPECT_EQ(many->delay, 1000u);
}

// --- nested lists -------------------------------------------------------------------

TEST(FlowStepTree, BodiesAreLinkedToTheirOwnerAtItsIndex) {
    EventList script;
    script.Append(MakeRef<LabelEvent>());
    auto sw = MakeRef<SwitchEvent>();
    auto c = MakeRef<SwitchCaseEvent>();
    c->values = {MakeRef<CaseValueStr>()};
    c->children.Append(MakeRef<GoToEvent>());
    sw->children.Append(MakeRef<ResetScriptEvent>());
    sw->children.Append(c);
    sw->children.Append(MakeRef<SwitchDefaultEvent>());
    script.Append(sw);
    script.Append(MakeRef<EndSwitchEvent>());

    const auto bytes = StreamBytes(script, kNewestStreamVersion);
    EventList loaded;
    ASSERT_TRUE(LoadSteps(RegionOf(bytes), loaded));
    ASSERT_EQ(loaded.Count(), 3u);
    EventList* body = loaded.At(1)->GetChildList();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->parent, &loaded);
    EXPECT_EQ(body->ownerIndex, 1);
    ASSERT_EQ(body->Count(), 3u);
    EventList* caseBody = body->At(1)->GetChildList();
    EXPECT_EQ(caseBody->parent, body);
    EXPECT_EQ(caseBody->ownerIndex, 1);
    EXPECT_EQ(caseBody->At(0)->TypeId(), GoToEvent::kTypeId);
    EXPECT_EQ(body->At(2)->GetChildList()->ownerIndex, 2);
    EXPECT_EQ(loaded.At(0)->GetChildList(), nullptr);

    // The tree saves the same bytes again, and a change two levels down counts.
    EXPECT_TRUE(loaded.IsEqual(script));
    EXPECT_EQ(StreamBytes(loaded, kNewestStreamVersion), bytes);
    static_cast<GoToEvent&>(*caseBody->At(0)).label = u"elsewhere";
    EXPECT_FALSE(loaded.IsEqual(script));
}

// The run loop's cursor against the walk from the root: every move from
// every position, and jumps into the middle of blocks, past a list's end
// (the step after the enclosing block follows), to bad indices and back.
TEST(FlowStepTree, CursorMovesAsTheWalkFromTheRoot) {
    EventList script;
    auto outer = MakeRef<ForLoopEvent>();
    auto inner = MakeRef<IfVarEvent>();
    inner->children.Append(MakeRef<EndIfEvent>());
    inner->children.Append(MakeRef<EndIfEvent>());
    outer->children.Append(MakeRef<EndIfEvent>());
    outer->children.Append(inner);
    outer->children.Append(MakeRef<IfVarEvent>());  // a block with no body
    script.Append(MakeRef<EndIfEvent>());
    script.Append(outer);
    script.Append(MakeRef<NextEvent>());

    // Reference: the step at a path after a jump, as the run loop found it
    // before it kept a cursor.
    const auto referenceCurrent = [&](StepPath& path) -> Event* {
        Event* step = EventAt(script, path);
        while (step == nullptr && !path.empty()) {
            path.pop_back();
            if (path.empty()) break;
            ++path.back();
            step = EventAt(script, path);
        }
        return step;
    };
    const std::vector<StepPath> jumps = {{}, {1, 1}, {1, 1, 2}, {1, 3}, {1, 1, 0}, {0}, {1, 2}, {1, 9, 9},
                                         {-1}, {2}, {3}, {1, 0, 0}, {1, 1, 1}};
    for (size_t from = 1; from < jumps.size(); ++from) {
        StepPath cursorPath;
        StepCursor cursor(script, cursorPath);
        for (size_t to = 0; to < jumps.size(); ++to) {
            SCOPED_TRACE(testing::Message() << "start " << from << ", jump " << to);
            cursor.JumpTo(jumps[from]);
            StepPath expected = jumps[from];
            for (int moves = 0; moves < 12; ++moves) {
                Event* want = referenceCurrent(expected);
                Event* got = cursor.Current();
                ASSERT_EQ(got, want);
                ASSERT_EQ(cursorPath, expected);
                if (got == nullptr) break;
                if (moves == 2 && !jumps[to].empty()) {
                    cursor.JumpTo(jumps[to]);
                    expected = jumps[to];
                    continue;
                }
                cursor.AdvancePast(*got);
                AdvancePast(script, expected, *want);
                ASSERT_EQ(cursorPath, expected);
            }
        }
    }
}

// --- text forms ------------------------------------------------------------------------

Ref<Event> LoadedRange(uint32_t kind, std::u16string_view name) {
    return LoadRecord(ForLoopEvent::kTypeId, [&](RecordBuffer& r) {
        WriteU32(r, MakeTag("LPTP"), kind);
        WriteString(r, MakeTag("VAR"), name);
        NumberExpr(1).Save(r, MakeTag("VAL1"));
        NumberExpr(10).Save(r, MakeTag("VAL2"));
    });
}

// Each class's text once, with the forms that could go wrong: a count shown
// signed, the exclusive end, an unknown loop kind, loop variables loaded in
// canonical form, an unclosed call, and records with nothing stored.
TEST(FlowStepText, FormsOfEveryClass) {
    const std::pair<Ref<Event>, const char16_t*> cases[] = {
        {LoadRecord(ForLoopEvent::kTypeId), u"For 1 to 3"},
        {Made<ForLoopEvent>([](auto& s) { s.count = 0xFFFFFFFFu; }), u"For 1 to -1"},
        {Made<ForLoopEvent>([](auto& s) { s.kind = 2; }), u"For Infinite"},
        {Made<ForLoopEvent>([](auto& s) { s.kind = kLoopWhile, s.condition = VariableExpr(u"$more"); }), u"While $more"},
        {LoadedRange(kLoopRange, u"i"), u"For $i = 1 to 10"},
        {LoadedRange(kLoopRangeExclusive, u"i"), u"For $i = 1 to 10 - 1"},
        {LoadedRange(kLoopRange, u"#n"), u"For #n = 1 to 10"},
        {LoadedRange(kLoopRange, u"my var"), u"For $(my var) = 1 to 10"},
        {Made<IfVarEvent>([](auto& s) { s.condition = VariableExpr(u"$ok"); }), u"If $ok, Then"},
        {Made<CustomFunEvent>([](auto& s) { s.code = CallExpr(u"Tally"); }), u"Function Tally("},
        {LoadRecord(FunStartEvent::kTypeId), u"Function ()"},
        {LoadRecord(ExitScriptEvent::kTypeId), u"Return"},
        {LoadRecord(GetScriptArgEvent::kTypeId), u"Alias  = GetScriptArg()"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.first) << "row " << &c - cases;
        EXPECT_EQ(c.first->GetText(), c.second) << "row " << &c - cases;
    }
    // A loop variable is written back in its canonical form.
    RecordBuffer saved;
    LoadedRange(kLoopRange, u"i")->Save(saved);
    EXPECT_EQ(ReadString(saved.AsRegion(), MakeTag("VAR"), u""), u"$i");
    EXPECT_TRUE(IfVarEvent().IsCondition());
    EXPECT_FALSE(ElseEvent().IsCondition());
}

// --- the old text-input step ------------------------------------------------------------

TEST(TextInputConversion, BecomesTypeTextCall) {
    const auto bytes = StreamOf({
        {NextEvent::kTypeId, {}},
        {16,
         [](RecordBuffer& r) {
             WriteString(r, tag::kName, u"old name");
             WriteU32(r, tag::kDelay, 250);
             WriteU32(r, tag::kDisabled, 1);
             WriteString(r, MakeTag("TEXT"), u"hi there");
             WriteU32(r, MakeTag("PST"), 0);
         }},
        {16, {}},
    });
    EventList list;
    ASSERT_TRUE(LoadSteps(RegionOf(bytes), list));
    ASSERT_EQ(list.Count(), 3u);

    const auto& call = As<CallFunEvent>(Ref<Event>(list.At(1)));
    EXPECT_EQ(call.name, u"");
    EXPECT_EQ(call.delay, 250u);
    EXPECT_EQ(call.disabled, 1u);
    EXPECT_EQ(call.GetText(), u"Call TypeText(\"hi there\", False)");
    const Region node = call.code.AsRegion();
    EXPECT_EQ(ReadU32(node, MakeTag("LIST"), 99), 0u);
    EXPECT_FALSE(FindRecord(node, IndexedTag('A', 2)));

    // Defaults: empty text, paste on, the common delay.
    const auto& plain = As<CallFunEvent>(Ref<Event>(list.At(2)));
    EXPECT_EQ(plain.delay, 1000u);
    EXPECT_EQ(plain.GetText(), u"Call TypeText(Empty, True)");
}

}  // namespace
}  // namespace ovrix
