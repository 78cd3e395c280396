// Logging off, shutting down and restarting the computer, and the portable
// side of the countdown dialog that may come first. The dialog's texts, its
// countdown and the moment it carries out the action are decided here; the
// desktop only shows them and ticks the timer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace ovrix {

class Desktop;

// The values are what the system's exit call expects (before the force flag).
enum class ShutdownKind : uint32_t { Logoff = 0, Shutdown = 1, Reboot = 2 };

// "Logoff" and "Reboot" (compared with case); any other action shuts down.
ShutdownKind ShutdownKindOf(std::u16string_view action);
// What is shown while the action is carried out.
std::u16string_view ShutdownProgressText(ShutdownKind kind);

// Enables the shutdown privilege and asks the system to exit, forcing
// applications that hang. Nothing happens when the privilege is refused; a
// system that refuses is not reported either.
void ShutdownComputer(Desktop& desktop, ShutdownKind kind);

// Counts the seconds down once a second and carries out the action when
// they run out or the immediate button is pressed. It stays open after
// that, until the system goes down or the user cancels.
class ShutdownCountdown : public CountdownDialog {
public:
    ShutdownCountdown(Desktop& desktop, std::u16string_view action, int32_t seconds);

    Texts Initial() override;
    Update Tick() override;
    Update Immediate() override;

private:
    Update CarryOut();

    Desktop& desktop_;
    ShutdownKind kind_;
    // Wider than the stored seconds so that counting down never overflows.
    int64_t secondsLeft_;
};

}  // namespace ovrix
