// The player's side of what built-in functions need: the desktop it plays
// on, the pass counter, the current run's arguments and loop index, the
// playback's wait and the mouse and keyboard steps' own actions. Installed
// for the length of a playback, which is also what resets the script's
// default message-box title.
#pragma once

#include <string>

#include "builtins/BuiltinHost.h"

namespace ovrix {

struct Player;

class PlayerBuiltinHost : public BuiltinHost {
public:
    explicit PlayerBuiltinHost(Player& player);
    ~PlayerBuiltinHost() override;
    PlayerBuiltinHost(const PlayerBuiltinHost&) = delete;
    PlayerBuiltinHost& operator=(const PlayerBuiltinHost&) = delete;

    Desktop& GetDesktop() override;
    double CurrentLoopIndex() override;
    uint32_t CurrentRepeat() override;
    size_t ScriptArgCount() override;
    PExprItem ScriptArg(size_t index) override;
    std::vector<std::u16string> CommandLineArgs() override;
    PictureRect LastPictureRect() override;
    std::u16string DefaultTitle() override { return title_; }
    void SetDefaultTitle(std::u16string title) override { title_ = std::move(title); }
    void Wait(uint32_t ms) override;
    bool StopRequested() override;
    void SetStatusLine(std::u16string_view text) override;
    void ShowStepText() override;
    std::u16string WaitClipboardChange(uint32_t timeoutMs) override;
    void MoveCursorBy(double dx, double dy) override;
    void SetCursorPosition(double x, double y) override;
    void RandomCursorPosition(double x, double y, double width, double height) override;
    void DragCursorBy(double dx, double dy, double stepDelay) override;
    void SendKey(double vk, bool up) override;
    void TypeText(std::u16string_view text, bool paste) override;

private:
    Player& player_;
    BuiltinHost* previous_;
    std::u16string title_;
};

}  // namespace ovrix
