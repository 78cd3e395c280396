// Shared pieces of the built-in function tests: a fake host on a simulated
// desktop that records what the functions ask of the player, and call nodes.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "builder/CallNode.h"
#include "builtins/BuiltinHost.h"
#include "builtins/Registry.h"
#include "container/RecordBuffer.h"
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "platform/Desktop.h"
#include "platform/sim/SimPlatform.h"
#include "TraceLines.h"

namespace ovrix::testing_builtins {

// The fake host's desktop: scripted random words, message boxes remembered and
// answered OK, a clock from 2026-01-01 00:00 UTC that moves when the host waits.
struct FakeDesktop : SimPlatform {
    FakeDesktop() : SimPlatform({.uptimeMs = 1000000, .callCostUs = 0}) {}
    uint32_t Random() override { return randoms.empty() ? 0 : randoms[randomIndex++ % randoms.size()]; }
    int32_t DoMessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) override {
        boxes.push_back({std::u16string(text), std::u16string(title), style});
        return 1;
    }

    struct Box {
        std::u16string text, title;
        uint32_t style;
    };
    std::vector<Box> boxes;
    std::vector<uint32_t> randoms;
    size_t randomIndex = 0;
};

class FakeBuiltinHost : public BuiltinHost {
public:
    FakeBuiltinHost() : desktop_(sim, Trace([this](const std::string& line) { trace.push_back(line); })) {
        previous_ = SetBuiltinHost(this);
    }
    ~FakeBuiltinHost() override { SetBuiltinHost(previous_); }

    Desktop& GetDesktop() override { return desktop_; }
    double CurrentLoopIndex() override { return loopIndex; }
    uint32_t CurrentRepeat() override { return repeat; }
    size_t ScriptArgCount() override { return scriptArgs.size(); }
    PExprItem ScriptArg(size_t index) override { return scriptArgs.at(index); }
    std::vector<std::u16string> CommandLineArgs() override { return commandLine; }
    PictureRect LastPictureRect() override { return picture; }
    std::u16string DefaultTitle() override { return defaultTitle; }
    void SetDefaultTitle(std::u16string title) override { titles.push_back(std::move(title)); }
    void Wait(uint32_t ms) override {
        waits.push_back(ms);
        sim.Sleep(ms);
    }
    bool StopRequested() override { return stopAfterMs != 0 && sim.ElapsedMs() >= stopAfterMs; }
    void SetStatusLine(std::u16string_view text) override { statusLines.emplace_back(text); }
    // Marked in the trace, so that a test sees what came before and after.
    void ShowStepText() override { trace.push_back("0 step-text"); }

    FakeDesktop sim;
    // The desktop's trace lines, "<ms> <event> <args>".
    std::vector<std::string> trace;
    uint64_t stopAfterMs = 0;
    std::vector<uint32_t> waits;
    std::vector<std::u16string> statusLines;

    double loopIndex = 0;
    uint32_t repeat = 0;
    std::vector<PExprItem> scriptArgs;
    std::vector<std::u16string> commandLine;
    PictureRect picture;
    std::vector<std::u16string> titles;
    std::u16string defaultTitle = u"Vantorel";

private:
    Desktop desktop_;
    BuiltinHost* previous_ = nullptr;
};

// A call node of `key` with these argument nodes, read back from its
// stored form (so it goes through the loader's resolution and defaults).
using ovrix::LoadCall;

inline ExprItem_Fun& CallOf(const PExprItem& node) { return *ItemAs<ExprItem_Fun>(node); }

inline PExprItem Num(double v) { return MakeItem<ExprItem_Num>(v); }
inline PExprItem Text(std::u16string t) { return MakeItem<ExprItem_Text>(std::move(t)); }
inline PExprItem Variable(std::u16string_view name) { return MakeItem<ExprItem_Var>(name); }
inline PExprItem ListOf(std::vector<PExprItem> elements) {
    auto list = MakeItem<ExprItem_ValueList>();
    ItemAs<ExprItem_ValueList>(list)->elements = std::move(elements);
    return list;
}

// The result of a call loaded as the player loads it (defaults filled).
inline PExprItem Call(std::u16string_view key, std::vector<PExprItem> args) { return LoadCall(key, args)->Evaluate(); }

// The result of a call loaded as the player loads it, with these values put
// into its first arguments: values without a stored form (windows, Rects,
// processes) cannot go through the loader themselves.
inline PExprItem CallWith(std::u16string_view key, const std::vector<PExprItem>& values) {
    const PExprItem node = LoadCall(key, std::vector<PExprItem>(values.size(), Num(0)));
    std::copy(values.begin(), values.end(), CallOf(node).args.begin());
    return node->Evaluate();
}

// The result of a function's implementation called directly with evaluated
// values; no value for a key without one.
inline PExprItem CallImpl(std::u16string_view key, std::vector<PExprItem> values) {
    const PLX_FunctionBase* f = FindFunction(key);
    PExprItem result;
    if (f != nullptr && f->GetImpl() != nullptr) {
        f->GetImpl()(&result, static_cast<int32_t>(values.size()), values.data(), f->GetUserWord());
    }
    return result;
}

// A call node made in code, without the loader's key mapping and default filling.
inline PExprItem CallNode(std::u16string_view key, std::vector<PExprItem> args) {
    auto node = MakeItem<ExprItem_Fun>();
    ItemAs<ExprItem_Fun>(node)->name = std::u16string(key);
    ItemAs<ExprItem_Fun>(node)->args = std::move(args);
    return node;
}

// The result of a call made in code.
inline PExprItem CallBare(std::u16string_view key, std::vector<PExprItem> args) {
    return CallNode(key, std::move(args))->Evaluate();
}

}  // namespace ovrix::testing_builtins
