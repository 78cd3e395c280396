// The function framework: descriptors and their argument rules, the
// registry's exact lookup and placeholders, loading calls (key mapping,
// default filling), the text forms of every call form, calling with
// by-reference arguments, the enumerations and the catalogue's coverage.
#include <gtest/gtest.h>

#include <string>

#include <cstdio>
#include <memory>

#include "builtins/FamilyTable.h"
#include "builtins_test_support.h"
#include "container/Text.h"
#include "engine/Runtime.h"
#include "expr/KindsValue.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"
#include "expr/Variables.h"

namespace ovrix {
namespace {

using namespace testing_builtins;
using Texts = std::vector<std::u16string>;

// Increments the variable that its by-reference argument names.
PExprItem* TestIncrement(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    result->Reset();
    if (count < 1) return result;
    if (auto* var = ItemAs<ExprItem_Var>(args[0])) {
        SetVariable(var->Name(), Num(AsNumber(GetVariable(var->Name())) + 1));
    }
    return result;
}

// Tells the kind ids it received and how many arguments: "256,257/3".
PExprItem* TestKinds(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    std::u16string out;
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0) out += u",";
        for (char c : std::to_string(args[i] ? args[i]->Kind() : 0)) out += static_cast<char16_t>(c);
    }
    out += u"/" + std::u16string(1, static_cast<char16_t>(u'0' + count));
    return HostServices().makeText(result, out.c_str());
}

const FunctionSpec kTestFunctions[] = {
    {u"<TestRect.GetX>", fkind::kNumber, nullptr, {{u"Rect", fkind::kObject, {}, 0, u"Rect Rect"}}, nullptr, nullptr,
     nullptr, true, u"X", true, false},
    {u"<TestRect.SetX>", fkind::kNothing, nullptr,
     {{u"Rect", fkind::kObject, {}, 0, u"Rect Rect"}, {u"X", fkind::kNumber}}, nullptr, nullptr, nullptr, true, u"X",
     false, true},
    {u"<TestOle.InvokeMethod>", fkind::kVariable, nullptr,
     {{u"Object", fkind::kObject, {}, 0, u"OleObject Object"}, {u"Method", fkind::kMember},
      {u"Arguments", fkind::kValueList}},
     nullptr, nullptr, nullptr, true},
    {u"TestDelay", fkind::kNothing, nullptr, {{u"Delay(ms)", fkind::kNumber, DefNumber(1000)}}},
    {u"TestMove#1", fkind::kNothing, nullptr,
     {{u"X", fkind::kNumber}, {u"Y", fkind::kNumber, DefNumber(7)}, {u"Title", fkind::kText, DefText(u"t")}}},
    {u"TestIncrement", fkind::kNothing, TestIncrement, {{u"Variable", fkind::kObject, {}, funarg::kByReference}}},
    {u"TestKinds", fkind::kText, TestKinds,
     {{u"Ref", fkind::kObject, {}, funarg::kByReference}, {u"Value", fkind::kAny}}},
    {u"TestMaker", fkind::kObject, nullptr, {}, u"Rect", nullptr, u"<TestMade>"},
};

int32_t RegisterTestModule(PLX_Module& module) {
    static std::vector<std::unique_ptr<PLX_Function>> owned;
    static std::vector<PLX_FunctionBase*> table;
    if (owned.empty()) {
        for (const FunctionSpec& spec : kTestFunctions) {
            owned.push_back(BuildDescriptor(spec));
            table.push_back(owned.back().get());
        }
    }
    module.count = static_cast<int32_t>(table.size());
    module.table = table.data();
    return 1;
}

class BuiltinFramework : public ::testing::Test {
protected:
    void SetUp() override {
        static PLX_Module module;
        module.registration = RegisterTestModule;
        AddFunctionModule(module);
    }
};

TEST_F(BuiltinFramework, ArgumentRefusalsAndNames) {
    PLX_Function f(u"F", fkind::kNumber, nullptr);
    // An enumerated Number default names the enumeration instead of "Number".
    const NumberEnum* show = FindNumberEnum(u"ShowWindowType");
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(f.AddArg(u"ShowWindow", fkind::kNumber, MakeItem<ExprItem_Num>(5.0, 0u, show))->GetLabel(),
              u"ShowWindowType ShowWindow");
    // Only object-labelled arguments may go by reference.
    const PExprItem shared = Num(3);
    EXPECT_EQ(f.AddArg(u"X", fkind::kNumber, shared, funarg::kByReference), nullptr);
    EXPECT_EQ(shared.CellShareCount(), 1);  // the refused default was dropped
    EXPECT_EQ(f.GetArgCount(), 1);
    ASSERT_NE(f.AddArg(u"Var", fkind::kObject, {}, funarg::kByReference), nullptr);
    while (f.GetArgCount() < PLX_FunctionBase::kMaxArgs) f.AddArg(u"n", fkind::kNumber);
    EXPECT_EQ(f.AddArg(u"Seventeenth", fkind::kNumber), nullptr);
    EXPECT_EQ(f.GetArgCount(), 16);
    EXPECT_EQ(f.GetArg(16), nullptr);
    EXPECT_EQ(f.GetArg(-1), nullptr);
    // The shown name drops only the last overload suffix.
    EXPECT_EQ(PLX_Function(u"A#b#2", 0, nullptr).GetDisplayName(), u"A#b");
    EXPECT_EQ(PLX_Function(u"F", fkind::kNamedData, nullptr).GetReturnTypeName(), u"NamedData ");
}

TEST_F(BuiltinFramework, LookupIsExactAndCaseSensitive) {
    const PLX_FunctionBase* upper = FindFunction(u"Sqrt");
    const PLX_FunctionBase* lower = FindFunction(u"sqrt");
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(lower, nullptr);
    EXPECT_NE(upper, lower);
    EXPECT_EQ(FindFunction(u"SQRT"), nullptr);
    EXPECT_EQ(FindFunction(u"Sqrt "), nullptr);
    // The alias key files the same descriptor a second time.
    EXPECT_EQ(FindFunction(u"<TestMade>"), FindFunction(u"TestMaker"));
    ASSERT_NE(FindFunction(u"TestMaker"), nullptr);
    uint32_t root = 0;  // registry roots, too, are found by their exact names only
    ASSERT_TRUE(FindRegistryRoot(u"CURRENT_USER", root));
    EXPECT_EQ(root, 0x80000001u);
    EXPECT_FALSE(FindRegistryRoot(u"current_user", root));
}

TEST_F(BuiltinFramework, UnknownKeyShowsThePluginMessageOncePerKey) {
    FakeBuiltinHost host;
    LoadCall(u"SQRT", {Num(4)});
    LoadCall(u"SQRT", {Num(9)});
    LoadCall(u"NoSuchThing", {});
    // Only the three older member keys are mapped to their current names.
    using Names = std::pair<const char16_t*, const char16_t*>;
    for (auto [older, current] : {Names{u"<OLE Get Property>", u"<OleObject.GetProperty>"},
                                  Names{u"<OLE Set Property>", u"<OleObject.SetProperty>"},
                                  Names{u"<OLE Invoke Method>", u"<OleObject.InvokeMethod>"}}) {
        EXPECT_EQ(CallOf(LoadCall(older, {})).name, current);
    }
    EXPECT_EQ(CallOf(LoadCall(u"<OLE Other>", {})).name, u"<OLE Other>");
    ASSERT_EQ(host.sim.boxes.size(), 3u);
    const Texts unknown = {u"SQRT", u"NoSuchThing", u"<OLE Other>"};
    for (size_t i = 0; i < unknown.size(); ++i) {
        EXPECT_EQ(host.sim.boxes[i].text, u"The plug-in function \"" + unknown[i] +
                                        u"\" does not exist!\nPlease make sure you have installed the plug-in.");
    }
    // The placeholder answers no value, returns nothing and keeps the call's arguments.
    PExprItem call = LoadCall(u"SQRT", {Num(4)});
    EXPECT_FALSE(call->Evaluate());
    EXPECT_EQ(call->GetDisplayText(), u"Call SQRT(4)");
    EXPECT_EQ(host.sim.boxes.size(), 3u);
    // Known keys never reach the message.
    LoadCall(u"Sqrt", {Num(4)});
    EXPECT_EQ(host.sim.boxes.size(), 3u);

    // Another runtime shares neither the placeholders nor the variables.
    SetVariable(u"#kept", Num(1));
    Runtime fresh;
    const RuntimeScope scope(fresh);
    EXPECT_EQ(fresh.functions.Lookup(u"SQRT"), nullptr);
    EXPECT_FALSE(GetVariable(u"#kept"));
    EXPECT_EQ(GetBuiltinHost(), nullptr);
}

TEST_F(BuiltinFramework, LoadFillsMissingArgumentsWithDefaultsInOrder) {
    PExprItem call = LoadCall(u"TestMove#1", {Num(3)});
    ExprItem_Fun& f = CallOf(call);
    ASSERT_EQ(f.args.size(), 3u);
    EXPECT_EQ(AsNumber(f.args[1]), 7.0);
    EXPECT_EQ(AsText(f.args[2]), u"t");
    EXPECT_EQ(call->GetDisplayText(), u"Call TestMove(3, 7, \"t\")");

    // The default is copied: changing one call's argument leaves the descriptor's alone.
    ItemAs<ExprItem_Num>(f.args[1])->value = 99;
    EXPECT_EQ(AsNumber(CallOf(LoadCall(u"TestMove#1", {})).args[1]), 7.0);

    // No default: a null handle holds the place.
    PExprItem bare = LoadCall(u"TestMove#1", {});
    ASSERT_EQ(CallOf(bare).args.size(), 3u);
    EXPECT_FALSE(CallOf(bare).args[0]);

    // More arguments than the descriptor: all kept and all passed.
    PExprItem extra = LoadCall(u"TestKinds", {Variable(u"#k"), Num(1), Text(u"x"), Num(2)});
    EXPECT_EQ(CallOf(extra).args.size(), 4u);
    EXPECT_EQ(AsText(extra->Evaluate()), u"256,257,258,257/4");
}

TEST_F(BuiltinFramework, ByReferenceArgumentsReceiveTheVariableNode) {
    SetVariable(u"#counter", Num(1));
    PExprItem call = LoadCall(u"TestIncrement", {Variable(u"#counter")});
    EXPECT_FALSE(call->Evaluate());
    call->Evaluate();
    EXPECT_EQ(AsNumber(GetVariable(u"#counter")), 3.0);

    // The by-value argument is evaluated: the variable's value arrives.
    SetVariable(u"#v", Text(u"abc"));
    EXPECT_EQ(AsText(LoadCall(u"TestKinds", {Variable(u"#v"), Variable(u"#v")})->Evaluate()), u"256,258/2");
}

TEST_F(BuiltinFramework, DisplayOfEveryCallForm) {
    const auto call = CallNode;
    const PExprItem obj = Variable(u"obj"), r = Variable(u"r");
    const PExprItem method = MakeItem<ExprItem_Member>(u"M");
    const std::pair<PExprItem, std::u16string> rows[] = {
        {call(u"<TestRect.GetX>", {r}), u"$r.X"},
        {call(u"<TestRect.GetX>", {}), u"Empty.X"},
        {call(u"<TestRect.SetX>", {r, Num(5)}), u"Set $r.X = 5"},
        {call(u"<TestOle.InvokeMethod>", {obj, method, Num(1), Num(2)}), u"$obj.M(1, 2)"},
        {call(u"<TestOle.InvokeMethod>", {obj, method, ListOf({Num(1), Num(2)})}), u"$obj.M(1 , 2)"},
        {call(u"<TestOle.InvokeMethod>", {obj, MakeItem<ExprItem_Member>(u"Quit"), ListOf({})}), u"$obj.Quit()"},
        {call(u"TestDelay", {Num(1000)}), u"Call TestDelay(1000)"},
        {call(u"TestMove#1", {Num(1), Num(2)}), u"Call TestMove(1, 2)"},
        {call(u"Sqrt", {Num(4)}), u"Sqrt(4)"},
    };
    for (const auto& [node, shown] : rows) EXPECT_EQ(node->GetDisplayText(), shown);
    EXPECT_EQ(rows[8].first->GetMarkedText(), u"**F[4]Sqrt(**N[1]4)");
    EXPECT_EQ(rows[2].first->GetMarkedText(), u"Set **B[2]$r.**F[1]X = **N[1]5");
}

// The catalogue's coverage: what is registered per family against the size
// of the complete library, and which registered descriptors still have no
// implementation (they evaluate to no value). The floors only ever go up.
// Every row is registered whole: a refused argument would silently shorten
// its descriptor.
TEST_F(BuiltinFramework, CatalogueCoverage) {
    constexpr int32_t kCatalogueTotal = 282;
    constexpr int32_t kRegisteredFloor = 282;
    constexpr int32_t kImplementedFloor = 282;
    int32_t total = 0;
    int32_t registered = 0;
    int32_t implemented = 0;
    std::string missing;
    for (const FamilySpec& family : Catalogue()) {
        const auto count = static_cast<int32_t>(family.functions.size());
        EXPECT_LE(count, family.total) << ToUtf8(family.name);
        total += family.total;
        registered += count;
        for (const FunctionSpec& spec : family.functions) {
            const PLX_FunctionBase* f = FindFunction(spec.alias != nullptr ? spec.alias : spec.key);
            ASSERT_NE(f, nullptr) << ToUtf8(spec.key);
            ASSERT_EQ(f->GetArgCount(), static_cast<int32_t>(spec.args.size())) << ToUtf8(spec.key);
            for (int32_t i = 0; i < f->GetArgCount(); ++i) {
                EXPECT_EQ(f->GetArg(i)->flags, spec.args[i].flags) << ToUtf8(spec.key) << " " << i;
            }
            if (spec.impl != nullptr) {
                ++implemented;
            } else {
                missing += " " + ToUtf8(spec.key);
            }
        }
    }
    EXPECT_EQ(Catalogue().size(), 24u);
    EXPECT_EQ(total, kCatalogueTotal);
    EXPECT_GE(registered, kRegisteredFloor);
    EXPECT_GE(implemented, kImplementedFloor);
    std::printf("built-in descriptors registered: %d of %d, implemented: %d\n", registered, total, implemented);
    std::printf("registered without an implementation:%s\n", missing.c_str());
}

}  // namespace
}  // namespace ovrix
