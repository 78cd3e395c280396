// Fields, stored form and text forms of the mouse steps.
#include "actions/MouseSteps.h"

#include <string>

#include "container/Tags.h"
#include "container/Text.h"

namespace ovrix {

namespace {

constexpr uint32_t kActionTag = MakeTag("EVT");
constexpr uint32_t kWheelTag = MakeTag("SCRL");
constexpr uint32_t kButtonTag = MakeTag("MBTN");
constexpr uint32_t kClickKindTag = MakeTag("CLKT");
constexpr uint32_t kLeftTag = MakeTag("RGNL");
constexpr uint32_t kTopTag = MakeTag("RGNT");
constexpr uint32_t kRightTag = MakeTag("RGNR");
constexpr uint32_t kBottomTag = MakeTag("RGNB");

}  // namespace

// --- MouseEvent ---

std::u16string MouseEvent::GetText() const {
    static constexpr std::u16string_view kButtonTexts[] = {
        u"Mouse Left Down",  u"Mouse Left Up",     u"Mouse Right Down",
        u"Mouse Right Up",   u"Mouse Middle Down", u"Mouse Middle Up",
    };
    // The amount is shown as printf's %d shows the stored word.
    const auto amount = Decimal(static_cast<int32_t>(wheelAmount));
    if (action >= kLeftDown && action <= kMiddleUp) return std::u16string(kButtonTexts[action - kLeftDown]);
    if (action == kWheelDown) return u"Mouse Scroll Down " + amount;
    if (action == kWheelUp) return u"Mouse Scroll Up " + amount;
    return {};
}

void MouseEvent::Save(RecordBuffer& buffer) const {
    WriteU32(buffer, kActionTag, action);
    WriteU32(buffer, kWheelTag, wheelAmount);
}

void MouseEvent::Load(Region data, EventList&) {
    action = ReadU32(data, kActionTag, 0);
    wheelAmount = ReadU32(data, kWheelTag, 100);
}

// --- MouseClickEvent ---

std::u16string MouseClickEvent::GetText() const {
    std::u16string text = u"Mouse ";
    switch (button) {
        case kLeft: text += u"Left "; break;
        case kMiddle: text += u"Middle "; break;
        case kRight: text += u"Right "; break;
        default: break;
    }
    if (clickKind == kSingle) text += u"Click";
    if (clickKind == kDouble) text += u"Double Click";
    return text;
}

void MouseClickEvent::Save(RecordBuffer& buffer) const {
    WriteU32(buffer, kButtonTag, button);
    WriteU32(buffer, kClickKindTag, clickKind);
}

void MouseClickEvent::Load(Region data, EventList&) {
    button = ReadU32(data, kButtonTag, kLeft);
    clickKind = ReadU32(data, kClickKindTag, kSingle);
}

// --- the coordinate steps ---

void LoadCoordinates(Region data, const CoordinateForm& form, StoredExpr& x, StoredExpr& y) {
    x = {};
    y = {};
    if (FindRecord(data, form.xTag)) {
        if (!FindRecord(data, form.yTag)) return;
        x.Load(data, form.xTag);
        y.Load(data, form.yTag);
        return;
    }
    x = NumberExpr(static_cast<int32_t>(ReadU32(data, form.oldXTag, 0)));
    y = NumberExpr(static_cast<int32_t>(ReadU32(data, form.oldYTag, 0)));
}

void SaveCoordinates(RecordBuffer& buffer, const CoordinateForm& form, const StoredExpr& x, const StoredExpr& y) {
    if (!x.Present() || !y.Present()) return;
    x.Save(buffer, form.xTag);
    y.Save(buffer, form.yTag);
}

std::u16string CoordinateText(const CoordinateForm& form, const StoredExpr& x, const StoredExpr& y) {
    return u"Call " + std::u16string(form.function) + u"(" + x.DisplayText() + u", " + y.DisplayText() + u")";
}

// --- PosRandomEvent ---

std::u16string PosRandomEvent::GetText() const {
    // Width and height wrap as the 32-bit subtraction of the stored words does.
    const auto width = static_cast<int32_t>(static_cast<uint32_t>(right) - static_cast<uint32_t>(left));
    const auto height = static_cast<int32_t>(static_cast<uint32_t>(bottom) - static_cast<uint32_t>(top));
    return u"Random Mouse Position in region [" + Decimal(left) + u"," + Decimal(top) + u" " + Decimal(width) +
           u"x" + Decimal(height) + u"]";
}

void PosRandomEvent::Save(RecordBuffer& buffer) const {
    WriteU32(buffer, kLeftTag, static_cast<uint32_t>(left));
    WriteU32(buffer, kTopTag, static_cast<uint32_t>(top));
    WriteU32(buffer, kRightTag, static_cast<uint32_t>(right));
    WriteU32(buffer, kBottomTag, static_cast<uint32_t>(bottom));
}

void PosRandomEvent::Load(Region data, EventList&) {
    left = static_cast<int32_t>(ReadU32(data, kLeftTag, 1));
    top = static_cast<int32_t>(ReadU32(data, kTopTag, 1));
    right = static_cast<int32_t>(ReadU32(data, kRightTag, 1));
    bottom = static_cast<int32_t>(ReadU32(data, kBottomTag, 1));
    // An empty or inverted rectangle would leave the random pick nothing to
    // choose from; it becomes ten pixels wide (or high) instead.
    if (int64_t{right} - left < 1) right = static_cast<int32_t>(static_cast<uint32_t>(left) + 10u);
    if (int64_t{bottom} - top < 1) bottom = static_cast<int32_t>(static_cast<uint32_t>(top) + 10u);
}

}  // namespace ovrix
