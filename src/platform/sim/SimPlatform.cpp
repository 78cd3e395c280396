#include "platform/sim/SimPlatform.h"

#include <algorithm>

namespace ovrix {

SimPlatform::SimPlatform(SimOptions options) : options_(options) {}

void SimPlatform::Advance(uint64_t us) {
    nowUs_ += us;
    if (options_.maxMs != 0 && !limitReported_ && nowUs_ / 1000 > options_.maxMs) {
        limitReported_ = true;
        if (onTimeLimit) onTimeLimit();
    }
}

uint32_t SimPlatform::TickCount() {
    Advance(options_.callCostUs);
    return options_.uptimeMs + static_cast<uint32_t>(nowUs_ / 1000);
}

int64_t SimPlatform::Now() {
    Advance(options_.callCostUs);
    return options_.epochSeconds + static_cast<int64_t>(nowUs_ / 1000000);
}

// The simulated desktop's local time zone is UTC.
bool SimPlatform::ToLocalTime(int64_t seconds, LocalTime& out) {
    if (seconds < 0) return false;
    int64_t days = seconds / 86400;
    const int64_t rest = seconds % 86400;
    out.hour = static_cast<int32_t>(rest / 3600);
    out.minute = static_cast<int32_t>(rest % 3600 / 60);
    out.second = static_cast<int32_t>(rest % 60);
    // Civil date from a day count (days since 1970-01-01).
    days += 719468;
    const int64_t era = days / 146097;
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    out.day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int32_t>(yoe + era * 400 + (out.month <= 2 ? 1 : 0));
    return true;
}

void SimPlatform::PumpMessages() {
    Advance(options_.callCostUs);
    if (onPump) onPump(*this);
}

void SimPlatform::MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t) {
    constexpr uint32_t kMove = 0x0001, kAbsolute = 0x8000;
    if ((flags & kMove) == 0) return;
    if (flags & kAbsolute) {
        // Absolute positions are normalised to 0..65535 over the screen.
        cursor_.x = static_cast<int32_t>(static_cast<int64_t>(dx) * options_.screen.width / 65536);
        cursor_.y = static_cast<int32_t>(static_cast<int64_t>(dy) * options_.screen.height / 65536);
    } else {
        cursor_.x += dx;
        cursor_.y += dy;
    }
    cursor_.x = std::clamp(cursor_.x, 0, options_.screen.width - 1);
    cursor_.y = std::clamp(cursor_.y, 0, options_.screen.height - 1);
}

bool SimPlatform::OpenProgressWindow(const ProgressWindowSettings& settings) {
    if (progressWindowFails) return false;
    progressSettings_ = settings;
    progressOpen_ = true;
    return true;
}

int32_t FirstButtonOf(uint32_t style) {
    switch (style & 0xF) {
        case 2: return 3;  // Abort, Retry, Ignore
        case 3:            // Yes, No, Cancel
        case 4: return 6;  // Yes, No
        case 5: return 4;  // Retry, Cancel
        case 6: return 2;  // Cancel, Try Again, Continue
        default: return 1;  // OK, OK/Cancel
    }
}

int32_t SimPlatform::MessageBox(std::u16string_view, std::u16string_view, uint32_t style) {
    if (!messageBoxAnswers.empty()) {
        const int32_t answer = messageBoxAnswers.front();
        messageBoxAnswers.erase(messageBoxAnswers.begin());
        return answer;
    }
    return FirstButtonOf(style);
}

bool SimPlatform::SetClipboardText(std::u16string_view text) {
    if (clipboardRefuses) return false;
    clipboard_.assign(text);
    return true;
}

bool SimPlatform::SetCurrentDirectory(std::u16string_view path) {
    if (path.empty()) return false;
    cwd_.assign(path);
    return true;
}

// The same linear congruential rule as the C runtime the player ships with,
// so a seeded simulation draws the numbers the real player would.
uint32_t SimPlatform::Random() {
    random_ = random_ * 214013u + 2531011u;
    return (random_ >> 16) & 0x7FFF;
}

}  // namespace ovrix
