// Stored form and text forms of the window steps.
#include "screen/WindowSteps.h"

#include "container/Tags.h"

namespace ovrix {

namespace {

constexpr uint32_t kTitle = MakeTag("TITL");
constexpr uint32_t kAppear = MakeTag("APPR");
constexpr uint32_t kTimeout = MakeTag("TOUT");
constexpr uint32_t kTimeoutUnit = MakeTag("TUNT");
constexpr uint32_t kSwitchTo = MakeTag("SWIT");
constexpr uint32_t kIf = MakeTag("IF");

}  // namespace

uint64_t TimeoutMilliseconds(uint32_t amount, std::u16string_view unit) {
    const uint64_t a = amount;
    if (unit == u"ms") return a;
    if (unit == u"sec") return a * 1000;
    if (unit == u"minute") return a * 60000;
    if (unit == u"hour") return a * 3600000;
    return a * 60000;
}

// CloseWindowEvent / SwitchWindowEvent ---------------------------------------

std::u16string CloseWindowEvent::GetText() const { return u"Close Window \"" + title + u"\""; }

void CloseWindowEvent::Save(RecordBuffer& buffer) const { WriteString(buffer, kTitle, title); }

void CloseWindowEvent::Load(Region data, EventList&) { title = ReadString(data, kTitle, u""); }

std::u16string SwitchWindowEvent::GetText() const { return u"Switch to Window \"" + title + u"\""; }

void SwitchWindowEvent::Save(RecordBuffer& buffer) const { WriteString(buffer, kTitle, title); }

void SwitchWindowEvent::Load(Region data, EventList&) { title = ReadString(data, kTitle, u""); }

// WaitWindowEvent ------------------------------------------------------------

std::u16string WaitWindowEvent::GetText() const {
    const std::u16string quoted = u"\"" + title + u"\"";
    if (!ifForm) return u"Wait for window " + quoted + (appear ? u" appear" : u" disappear");
    if (!appear) return u"If window " + quoted + u" disappear";
    if (bringToFront) return u"If window " + quoted + u" appear then switch to it, And Then";
    return u"If window " + quoted + u" appear, Then";
}

void WaitWindowEvent::Save(RecordBuffer& buffer) const {
    WriteU32(buffer, kAppear, appear);
    WriteString(buffer, kTitle, title);
    WriteU32(buffer, kTimeout, timeout);
    WriteString(buffer, kTimeoutUnit, timeoutUnit);
    WriteU32(buffer, kSwitchTo, bringToFront);
    WriteU32(buffer, kIf, ifForm);
    if (ifForm) SaveChildList(buffer, children);
}

void WaitWindowEvent::Load(Region data, EventList& owner) {
    appear = ReadU32(data, kAppear, 1);
    title = ReadString(data, kTitle, u"");
    timeout = ReadU32(data, kTimeout, 10);
    timeoutUnit = ReadString(data, kTimeoutUnit, u"sec");
    bringToFront = ReadU32(data, kSwitchTo, 1);
    ifForm = ReadU32(data, kIf, 0);
    // The plain form has no then-steps: a 'SUB' it carries is not read.
    if (ifForm) {
        LoadChildList(data, owner, children);
    } else {
        children.Clear();
    }
}

}  // namespace ovrix
