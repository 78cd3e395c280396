// The player's side of what built-in functions need: message boxes and the
// random generator of the desktop it plays on, the pass counter, the current
// run's arguments and loop index. Installed for the length of a playback,
// which is also what resets the script's default message-box title.
#pragma once

#include <string>

#include "builtins/BuiltinHost.h"

namespace ovrix {

struct Player;

// The title of the script's own message boxes at the start of every playback.
inline constexpr std::u16string_view kDefaultScriptTitle = u"Vantorel";

class PlayerBuiltinHost : public BuiltinHost {
public:
    explicit PlayerBuiltinHost(Player& player);
    ~PlayerBuiltinHost() override;
    PlayerBuiltinHost(const PlayerBuiltinHost&) = delete;
    PlayerBuiltinHost& operator=(const PlayerBuiltinHost&) = delete;

    void ShowMessage(std::u16string_view text) override;
    uint32_t Random() override;
    double CurrentLoopIndex() override;
    uint32_t CurrentRepeat() override;
    size_t ScriptArgCount() override;
    PExprItem ScriptArg(size_t index) override;
    std::vector<std::u16string> CommandLineArgs() override;
    PictureRect LastPictureRect() override;
    void SetDefaultTitle(std::u16string title) override { title_ = std::move(title); }
    int64_t Now() override;
    uint32_t TickCount() override;
    void Wait(uint32_t ms) override;
    bool StopRequested() override;
    void SetStatusLine(std::u16string_view text) override;
    int32_t MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) override;
    int32_t MessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style,
                              uint32_t timeoutMs) override;
    std::u16string DefaultTitle() override { return title_; }
    std::u16string GetClipboardText() override;
    void SetClipboardText(std::u16string_view text) override;
    std::u16string WaitClipboardChange(uint32_t timeoutMs) override;
    bool CursorPosition(int32_t& x, int32_t& y) override;
    void MoveCursorBy(double dx, double dy) override;
    void SetCursorPosition(double x, double y) override;
    void RandomCursorPosition(double x, double y, double width, double height) override;
    void DragCursorBy(double dx, double dy, double stepDelay) override;
    void SendKey(double vk, bool up) override;
    bool IsKeyDown(double vk) override;
    void TypeText(std::u16string_view text, bool paste) override;

private:
    Player& player_;
    BuiltinHost* previous_;
    std::u16string title_;
};

}  // namespace ovrix
