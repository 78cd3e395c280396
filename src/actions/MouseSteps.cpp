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

// Where a coordinate pair is stored: the expression records, and the plain
// integer records of the older form that the loader still reads.
struct PairTags {
    uint32_t x;
    uint32_t y;
    uint32_t oldX;
    uint32_t oldY;
};
constexpr PairTags kOffsetTags{MakeTag("XOFS"), MakeTag("YOFS"), MakeTag("OFSX"), MakeTag("OFSY")};
constexpr PairTags kPositionTags{MakeTag("XPOS"), MakeTag("YPOS"), MakeTag("X"), MakeTag("Y")};

void LoadPair(Region data, const PairTags& tags, StoredExpr& x, StoredExpr& y) {
    x = {};
    y = {};
    if (FindRecord(data, tags.x)) {
        if (!FindRecord(data, tags.y)) return;
        x.Load(data, tags.x);
        y.Load(data, tags.y);
        return;
    }
    x = NumberExpr(static_cast<int32_t>(ReadU32(data, tags.oldX, 0)));
    y = NumberExpr(static_cast<int32_t>(ReadU32(data, tags.oldY, 0)));
}

void SavePair(RecordBuffer& buffer, const PairTags& tags, const StoredExpr& x, const StoredExpr& y) {
    if (!x.Present() || !y.Present()) return;
    x.Save(buffer, tags.x);
    y.Save(buffer, tags.y);
}

std::u16string CallText(std::u16string_view function, const StoredExpr& x, const StoredExpr& y) {
    return u"Call " + std::u16string(function) + u"(" + x.DisplayText() + u", " + y.DisplayText() + u")";
}

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

bool MouseEvent::FieldsEqual(const MouseEvent& other) const {
    return action == other.action && wheelAmount == other.wheelAmount;
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

bool MouseClickEvent::FieldsEqual(const MouseClickEvent& other) const {
    return button == other.button && clickKind == other.clickKind;
}

// --- MoveMouseEvent, DragMouseEvent, MousePosEvent ---

std::u16string MoveMouseEvent::GetText() const { return CallText(u"MouseRelativeMove", xOffset, yOffset); }
void MoveMouseEvent::Save(RecordBuffer& buffer) const { SavePair(buffer, kOffsetTags, xOffset, yOffset); }
void MoveMouseEvent::Load(Region data, EventList&) { LoadPair(data, kOffsetTags, xOffset, yOffset); }
bool MoveMouseEvent::FieldsEqual(const MoveMouseEvent& other) const {
    return xOffset == other.xOffset && yOffset == other.yOffset;
}

std::u16string DragMouseEvent::GetText() const { return CallText(u"MouseRelativeDrag", xOffset, yOffset); }
void DragMouseEvent::Save(RecordBuffer& buffer) const { SavePair(buffer, kOffsetTags, xOffset, yOffset); }
void DragMouseEvent::Load(Region data, EventList&) { LoadPair(data, kOffsetTags, xOffset, yOffset); }
bool DragMouseEvent::FieldsEqual(const DragMouseEvent& other) const {
    return xOffset == other.xOffset && yOffset == other.yOffset;
}

std::u16string MousePosEvent::GetText() const { return CallText(u"SetMousePosition", x, y); }
void MousePosEvent::Save(RecordBuffer& buffer) const { SavePair(buffer, kPositionTags, x, y); }
void MousePosEvent::Load(Region data, EventList&) { LoadPair(data, kPositionTags, x, y); }
bool MousePosEvent::FieldsEqual(const MousePosEvent& other) const { return x == other.x && y == other.y; }

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

bool PosRandomEvent::FieldsEqual(const PosRandomEvent& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
}

}  // namespace ovrix
