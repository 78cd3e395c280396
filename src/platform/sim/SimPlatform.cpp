#include "platform/sim/SimPlatform.h"

#include <algorithm>
#include <iterator>
#include <limits>

#include "container/Text.h"

namespace ovrix {

// A 40-pixel taskbar along the bottom of the screen.
SimPlatform::SimPlatform(SimOptions options)
    : workArea{0, 0, options.screen.width, options.screen.height - 40}, options_(options),
      limitUs_(LimitUs(options.maxMs)) {}

uint64_t SimPlatform::LimitUs(uint64_t maxMs) {
    // Past maxMs milliseconds is from (maxMs + 1) * 1000 microseconds on; a
    // limit the clock cannot pass is none.
    constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();
    if (maxMs == 0 || maxMs >= kNever / 1000) return kNever;
    return (maxMs + 1) * 1000;
}

void SimPlatform::RunWindowThread(uint64_t untilUs) {
    inWindowThread_ = true;
    RunWindowEvents(untilUs);
    inWindowThread_ = false;
}

void SimPlatform::ReportTimeLimit() {
    limitUs_ = std::numeric_limits<uint64_t>::max();
    if (onTimeLimit) onTimeLimit();
}

void SimPlatform::RunWindowEvents(uint64_t untilUs) {
    while (true) {
        const uint64_t tickUs = progressWindow_.NextTickUs();
        const uint64_t changeUs = clipboardChangesDone_ < clipboardChanges.size()
                                      ? clipboardChanges[clipboardChangesDone_].first * 1000
                                      : SimProgressWindow::kNever;
        const uint64_t dueUs = std::min(tickUs, changeUs);
        if (dueUs > untilUs) return;
        nowUs_ = std::max(nowUs_, dueUs);
        if (changeUs <= tickUs) {
            clipboard_ = clipboardChanges[clipboardChangesDone_++].second;
            clipboardImage_.reset();
            progressWindow_.NoticeClipboardChange();
        } else {
            progressWindow_.Tick();
        }
    }
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
    scriptWindows.Dispatch(ElapsedMs());
}

void SimPlatform::DoMouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t) {
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

// Scan codes of a US English layout (set 1).
uint32_t SimPlatform::MapVirtualKey(uint32_t code) {
    static constexpr char kLetters[] = "\x1E\x30\x2E\x20\x12\x21\x22\x23\x17\x24\x25\x26\x32\x31\x18\x19\x10\x13"
                                       "\x1F\x14\x16\x2F\x11\x2D\x15\x2C";  // A..Z
    static constexpr uint8_t kNumpad[] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
    static constexpr uint8_t kNavigation[] = {0x49, 0x51, 0x4F, 0x47, 0x4B, 0x48, 0x4D, 0x50};  // 33..40
    if (code >= 'A' && code <= 'Z') return static_cast<uint8_t>(kLetters[code - 'A']);
    if (code >= '1' && code <= '9') return code - '1' + 2;
    if (code == '0') return 0x0B;
    if (code >= 96 && code <= 105) return kNumpad[code - 96];
    if (code >= 33 && code <= 40) return kNavigation[code - 33];
    if (code >= 112 && code <= 121) return code - 112 + 0x3B;  // F1..F10
    switch (code) {
        case 8: return 0x0E;
        case 9: return 0x0F;
        case 13: return 0x1C;
        case 16: case 160: return 0x2A;
        case 161: return 0x36;
        case 17: case 162: case 163: return 0x1D;
        case 18: case 164: case 165: return 0x38;
        case 20: return 0x3A;
        case 27: return 0x01;
        case 32: return 0x39;
        case 45: return 0x52;
        case 46: return 0x53;
        case 91: return 0x5B;
        case 92: return 0x5C;
        case 93: return 0x5D;
        case 122: return 0x57;
        case 123: return 0x58;
        case 186: return 0x27;
        case 187: return 0x0D;
        case 188: return 0x33;
        case 189: return 0x0C;
        case 190: return 0x34;
        case 191: return 0x35;
        case 192: return 0x29;
        case 219: return 0x1A;
        case 220: return 0x2B;
        case 221: return 0x1B;
        case 222: return 0x28;
        default: return 0;
    }
}

int16_t SimPlatform::VkKeyScan(char16_t c) {
    constexpr int16_t kShift = 0x100;
    if (c >= u'a' && c <= u'z') return static_cast<int16_t>(c - u'a' + 'A');
    if (c >= u'A' && c <= u'Z') return static_cast<int16_t>(kShift | c);
    if (c >= u'0' && c <= u'9') return static_cast<int16_t>(c);
    static constexpr std::u16string_view kShiftedDigits = u")!@#$%^&*(";
    if (const size_t at = kShiftedDigits.find(c); at != std::u16string_view::npos) {
        return static_cast<int16_t>(kShift | ('0' + at));
    }
    struct Punctuation {
        char16_t plain, shifted;
        int16_t vk;
    };
    static constexpr Punctuation kPunctuation[] = {
        {u';', u':', 186}, {u'=', u'+', 187}, {u',', u'<', 188}, {u'-', u'_', 189}, {u'.', u'>', 190},
        {u'/', u'?', 191}, {u'`', u'~', 192}, {u'[', u'{', 219}, {u'\\', u'|', 220}, {u']', u'}', 221},
        {u'\'', u'"', 222}};
    for (const Punctuation& p : kPunctuation) {
        if (c == p.plain) return p.vk;
        if (c == p.shifted) return static_cast<int16_t>(kShift | p.vk);
    }
    switch (c) {
        case u' ': return 32;
        case u'\b': return 8;
        case u'\t': return 9;
        case u'\r': return 13;
        case u'\n': return 0x20D;  // Ctrl + Enter
        case 27: return 27;
        default: return -1;
    }
}

void SimPlatform::DoRunCountdownDialog(CountdownDialog& dialog) {
    dialog.Initial();
    for (int32_t ticks = 0; countdownCancelAfterTicks < 0 || ticks < countdownCancelAfterTicks; ++ticks) {
        Advance(static_cast<uint64_t>(dialog.TimerPeriodMs()) * 1000);
        const CountdownDialog::Update update = dialog.Tick();
        if (update.afterShown) update.afterShown();
        if (update.stopTimer) return;
    }
}

void SimPlatform::DoKeybdEvent(uint8_t vk, uint8_t, uint32_t flags) {
    if (flags & kKeyUp) {
        heldKeys_.erase(vk);
    } else {
        heldKeys_.insert(vk);
    }
}

bool SimPlatform::DoSendInput(const std::vector<KeyInput>& records) {
    if (sendInputFails) return false;
    for (const KeyInput& record : records) {
        if ((record.flags & kKeyUnicode) == 0 && record.vk <= 0xFF) {
            DoKeybdEvent(static_cast<uint8_t>(record.vk), 0, record.flags);
        }
    }
    return true;
}

bool SimPlatform::DoOpen(ProgressWindowBehaviour& behaviour) {
    if (progressWindowFails) return false;
    return progressWindow_.Open(behaviour);
}

std::u16string SimPlatform::KeyNameText(uint32_t lParam) {
    const uint32_t scan = (lParam >> 16) & 0xFF;
    const bool extended = (lParam & (1u << 24)) != 0;
    struct Named {
        uint8_t scan;
        const char16_t* plain;
        const char16_t* extended;  // null: as plain
    };
    static constexpr Named kNames[] = {
        {0x01, u"Esc", nullptr},       {0x0E, u"Backspace", nullptr}, {0x0F, u"Tab", nullptr},
        {0x1C, u"Enter", u"Num Enter"}, {0x1D, u"Ctrl", u"Right Ctrl"}, {0x2A, u"Shift", nullptr},
        {0x36, u"Right Shift", nullptr}, {0x37, u"Num *", u"Prnt Scrn"}, {0x38, u"Alt", u"Right Alt"},
        {0x39, u"Space", nullptr},     {0x3A, u"Caps Lock", nullptr}, {0x45, u"Pause", u"Num Lock"},
        {0x46, u"Scroll Lock", nullptr}, {0x47, u"Num 7", u"Home"},   {0x48, u"Num 8", u"Up"},
        {0x49, u"Num 9", u"Page Up"},  {0x4A, u"Num -", nullptr},     {0x4B, u"Num 4", u"Left"},
        {0x4C, u"Num 5", nullptr},     {0x4D, u"Num 6", u"Right"},    {0x4E, u"Num +", nullptr},
        {0x4F, u"Num 1", u"End"},      {0x50, u"Num 2", u"Down"},     {0x51, u"Num 3", u"Page Down"},
        {0x52, u"Num 0", u"Insert"},   {0x53, u"Num Del", u"Delete"}, {0x57, u"F11", nullptr},
        {0x58, u"F12", nullptr},       {0x5B, u"Left Windows", nullptr}, {0x5C, u"Right Windows", nullptr},
        {0x5D, u"Application", nullptr},
    };
    for (const Named& n : kNames) {
        if (n.scan == scan) return extended && n.extended != nullptr ? n.extended : n.plain;
    }
    if (scan >= 0x3B && scan <= 0x44) return u"F" + Widen(std::to_string(scan - 0x3A));
    // Keys that type a character are named by it, letters in capitals.
    static constexpr char16_t kTyped[] =
        u"\0\0" u"1234567890-=" u"\0\0" u"QWERTYUIOP[]" u"\0\0" u"ASDFGHJKL;'`" u"\0" u"\\ZXCVBNM,./";
    if (scan + 1 < std::size(kTyped) && kTyped[scan] != u'\0') return std::u16string(1, kTyped[scan]);
    return {};
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

int32_t SimPlatform::DoMessageBox(std::u16string_view, std::u16string_view, uint32_t style) {
    if (!messageBoxAnswers.empty()) {
        const int32_t answer = messageBoxAnswers.front();
        messageBoxAnswers.erase(messageBoxAnswers.begin());
        return answer;
    }
    return FirstButtonOf(style);
}

int32_t SimPlatform::DoMessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style,
                                       uint32_t timeoutMs) {
    constexpr int32_t kTimedOut = 32000;
    if (!timedBoxesTimeOut) return DoMessageBox(text, title, style);
    Advance(static_cast<uint64_t>(timeoutMs) * 1000);
    return kTimedOut;
}

bool SimPlatform::DoSetClipboardText(std::u16string_view text) {
    if (clipboardRefuses) return false;
    clipboard_.assign(text);
    clipboardImage_.reset();
    clipboardHtml_.clear();
    progressWindow_.NoticeClipboardChange();
    return true;
}

bool SimPlatform::DoSetClipboardImage(const VBmp& picture) {
    if (clipboardRefuses) return false;
    clipboard_.clear();
    clipboardImage_ = picture;
    clipboardHtml_.clear();
    progressWindow_.NoticeClipboardChange();
    return true;
}

bool SimPlatform::DoSetClipboardHtml(std::string_view htmlFormat, std::u16string_view text) {
    if (!DoSetClipboardText(text)) return false;
    clipboardHtml_.assign(htmlFormat);
    return true;
}

// The same linear congruential rule as the C runtime the player ships with,
// so a seeded simulation draws the numbers the real player would.
uint32_t SimPlatform::Random() {
    random_ = random_ * 214013u + 2531011u;
    return (random_ >> 16) & 0x7FFF;
}

}  // namespace ovrix
