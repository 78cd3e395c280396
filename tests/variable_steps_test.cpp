// The Set, Alias, Remove and Add steps: their one stored expression survives
// load and save byte for byte, and their text is the expression's text.
#include <gtest/gtest.h>

#include "builder/ImageBuilder.h"
#include "container/RecordBuffer.h"
#include "container/Tags.h"
#include "engine/VariableSteps.h"
#include "script/ScriptStream.h"
#include "script/StepKinds.h"
#include "StepTestSupport.h"

namespace ovrix {
namespace {

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
