// Shared pieces of the built-in function tests: a fake host that records
// what the functions ask of the player, and stored call nodes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "builtins/BuiltinHost.h"
#include "builtins/Registry.h"
#include "container/RecordBuffer.h"
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"

namespace ovrix::testing_builtins {

class FakeBuiltinHost : public BuiltinHost {
public:
    FakeBuiltinHost() { previous_ = SetBuiltinHost(this); }
    ~FakeBuiltinHost() override { SetBuiltinHost(previous_); }

    void ShowMessage(std::u16string_view text) override { messages.emplace_back(text); }
    uint32_t Random() override {
        const uint32_t r = randoms.empty() ? 0 : randoms[randomIndex % randoms.size()];
        ++randomIndex;
        return r;
    }
    double CurrentLoopIndex() override { return loopIndex; }
    uint32_t CurrentRepeat() override { return repeat; }
    size_t ScriptArgCount() override { return scriptArgs.size(); }
    PExprItem ScriptArg(size_t index) override { return scriptArgs.at(index); }
    std::vector<std::u16string> CommandLineArgs() override { return commandLine; }
    PictureRect LastPictureRect() override { return picture; }
    void SetDefaultTitle(std::u16string title) override { titles.push_back(std::move(title)); }

    // A virtual clock: waiting advances it at once.
    int64_t Now() override { return epochSeconds + static_cast<int64_t>(elapsedMs / 1000); }
    uint32_t TickCount() override { return static_cast<uint32_t>(1000000 + elapsedMs); }
    void Wait(uint32_t ms) override {
        waits.push_back(ms);
        elapsedMs += ms;
    }
    bool StopRequested() override { return stopAfterMs != 0 && elapsedMs >= stopAfterMs; }
    void SetStatusLine(std::u16string_view text) override { statusLines.emplace_back(text); }
    int32_t MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) override {
        boxes.push_back({std::u16string(text), std::u16string(title), style});
        return 1;
    }
    std::u16string DefaultTitle() override { return u"Vantorel"; }

    struct Box {
        std::u16string text, title;
        uint32_t style;
    };
    int64_t epochSeconds = 1767225600;  // 2026-01-01 00:00:00 UTC
    uint64_t elapsedMs = 0;
    uint64_t stopAfterMs = 0;
    std::vector<uint32_t> waits;
    std::vector<std::u16string> statusLines;
    std::vector<Box> boxes;

    std::vector<std::u16string> messages;
    std::vector<uint32_t> randoms;
    size_t randomIndex = 0;
    double loopIndex = 0;
    uint32_t repeat = 0;
    std::vector<PExprItem> scriptArgs;
    std::vector<std::u16string> commandLine;
    PictureRect picture;
    std::vector<std::u16string> titles;

private:
    BuiltinHost* previous_ = nullptr;
};

// A call node of `key` with these argument nodes, read back from its
// stored form (so it goes through the loader's resolution and defaults).
inline PExprItem LoadCall(std::u16string_view key, const std::vector<PExprItem>& args) {
    RecordBuffer b;
    WriteU32(b, tag::kType, kind::kFunction);
    WriteString(b, tag::kFunction, key);
    WriteU32(b, tag::kCallForm, 0);
    for (size_t i = 0; i < args.size(); ++i) SaveSubNode(b, tag::Argument(static_cast<uint32_t>(i)), args[i]);
    const std::vector<uint8_t> bytes = b.ToVector();
    return ReadExprItem(Region{bytes.data(), static_cast<uint32_t>(bytes.size())});
}

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
