#include "actions/ShutdownCountdown.h"

#include "actions/SystemSteps.h"
#include "container/Text.h"
#include "platform/Desktop.h"

namespace ovrix {

namespace {

// The exit request forces applications that do not answer to close.
constexpr uint32_t kExitForceIfHung = 16;
// Planned, operating system, upgrade: the reason the system logs.
constexpr uint32_t kExitReason = 0x80020003;

std::u16string SecondsText(int64_t seconds) { return Decimal(seconds) + u" seconds"; }

}  // namespace

ShutdownKind ShutdownKindOf(std::u16string_view action) {
    if (action == ShutdownEvent::kLogoff) return ShutdownKind::Logoff;
    if (action == ShutdownEvent::kReboot) return ShutdownKind::Reboot;
    return ShutdownKind::Shutdown;
}

std::u16string_view ShutdownProgressText(ShutdownKind kind) {
    return kind == ShutdownKind::Logoff ? u"Logging off..." : u"Shutting down...";
}

void ShutdownComputer(Desktop& desktop, ShutdownKind kind) {
    if (!desktop.system.EnableShutdownPrivilege()) return;
    desktop.system.ExitWindows(static_cast<uint32_t>(kind) + kExitForceIfHung, kExitReason);
}

ShutdownCountdown::ShutdownCountdown(Desktop& desktop, std::u16string_view action, int32_t seconds)
    : desktop_(desktop), kind_(ShutdownKindOf(action)), secondsLeft_(seconds) {}

CountdownDialog::Texts ShutdownCountdown::Initial() {
    Texts texts;
    switch (kind_) {
        case ShutdownKind::Reboot:
            texts = {u"Reboot Computer", u"Vantorel will reboot the computer in:", u"Reboot Immediate", {}};
            break;
        case ShutdownKind::Logoff:
            texts = {u"Logoff Computer", u"Vantorel will logoff the computer in:", u"Logoff Immediate", {}};
            break;
        case ShutdownKind::Shutdown:
            texts = {u"Shutdown Computer", u"Vantorel will shutdown the computer in:", u"Shutdown Immediate", {}};
            break;
    }
    texts.countdown = SecondsText(secondsLeft_);
    return texts;
}

CountdownDialog::Update ShutdownCountdown::Tick() {
    --secondsLeft_;
    if (secondsLeft_ > 0) return {SecondsText(secondsLeft_), false, nullptr};
    return CarryOut();
}

CountdownDialog::Update ShutdownCountdown::Immediate() { return CarryOut(); }

// The text is shown once this returns, so the trace lists the exit request
// before it; the request itself only starts the system's exit, which goes on
// while the dialog shows the text.
CountdownDialog::Update ShutdownCountdown::CarryOut() {
    return {std::u16string(ShutdownProgressText(kind_)), true, [this] { ShutdownComputer(desktop_, kind_); }};
}

}  // namespace ovrix
