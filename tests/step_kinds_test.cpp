// The table of step kinds: every id made, saved, loaded and compared through
// its row, and ExecuteStep playing a step through its row; the variable
// steps, whose one stored expression survives load and save byte for byte.
#include <gtest/gtest.h>

#include "SimFixture.h"
#include "StepTestSupport.h"
#include "engine/FunctionSteps.h"
#include "engine/HandlerSteps.h"
#include "engine/Playback.h"
#include "shell/StepKindsAll.h"
#include "engine/Runtime.h"
#include "engine/VariableSteps.h"

namespace ovrix {
namespace {

TEST(StepKinds, EveryIdButTheUnusedOnesIsMadeSavedLoadedAndCompared) {
    for (uint32_t id = 0; id <= kMaxTypeId + 1; ++id) {
        SCOPED_TRACE(id);
        const bool unused = id == 0 || id == 21 || id == 22 || id == 56 || id > kMaxTypeId;
        const StepKind* kind = PlayerStepKinds().Find(id);
        ASSERT_EQ(kind == nullptr, unused);
        if (unused) continue;
        const Ref<Event> step = CreateEvent(id);
        EXPECT_EQ(step->TypeId(), id);
        EXPECT_EQ(step->delay, id == FunStartEvent::kTypeId ? 0u : 1000u);  // a function start waits nothing
        EXPECT_EQ(step->GetTypeKey().value_or(u""), kind->typeKey);
        EXPECT_EQ(step->GetDisplayName().value_or(u""), kind->displayName);
        if (kind->convert != nullptr) continue;  // stored in an older form: its conversion has its own test

        // A fresh step may not be in the form loading gives (coordinates not
        // yet set load as 0, 0); from its first load on nothing may change.
        const Ref<Event> loaded = LoadRecord(id, [&](RecordBuffer& b) { step->Save(b); });
        ASSERT_TRUE(loaded);
        ExpectRoundTrip(Sample{"loaded", [&] { return loaded->Clone(); }, [](Event& e) { e.name = u"x"; }}, 40);
    }
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
        ExpectRoundTrip(Sample{"code", [&] { return step->Clone(); }}, 0);

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
