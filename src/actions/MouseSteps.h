// The mouse steps: one button or wheel event, a click or double click, a
// relative move or left-button drag, an absolute position and a random
// position in a rectangle. This file holds their fields, stored form and text
// forms; playing them is the business of the mouse actions.
//
// The coordinate steps keep their x and y as stored expressions. They load
// both or neither: a record with only its x expression loads nothing, and
// saving writes the pair only when both are present.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "container/Tags.h"
#include "script/Event.h"
#include "script/StoredExpr.h"

namespace ovrix {

// A single button or wheel event.
class MouseEvent : public EventOf<MouseEvent, 14> {
public:
    // Actions; any other value does nothing.
    static constexpr uint32_t kLeftDown = 1;
    static constexpr uint32_t kLeftUp = 2;
    static constexpr uint32_t kRightDown = 3;
    static constexpr uint32_t kRightUp = 4;
    static constexpr uint32_t kMiddleDown = 5;
    static constexpr uint32_t kMiddleUp = 6;
    static constexpr uint32_t kWheelDown = 7;
    static constexpr uint32_t kWheelUp = 8;

    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(action, wheelAmount); }

    uint32_t action = 0;
    uint32_t wheelAmount = 100;
};

// A complete click or double click at the current cursor position. Its
// button numbering (middle before right) differs from MouseEvent's.
class MouseClickEvent : public EventOf<MouseClickEvent, 5> {
public:
    static constexpr uint32_t kLeft = 0;
    static constexpr uint32_t kMiddle = 1;
    static constexpr uint32_t kRight = 2;
    static constexpr uint32_t kSingle = 0;
    static constexpr uint32_t kDouble = 1;

    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(button, clickKind); }

    uint32_t button = kLeft;
    uint32_t clickKind = kSingle;
};

// Where a coordinate step keeps its pair, and the call its text shows: the
// expression records, and the plain integer records of the older form that
// the loader still reads.
struct CoordinateForm {
    std::u16string_view function;
    uint32_t xTag;
    uint32_t yTag;
    uint32_t oldXTag;
    uint32_t oldYTag;
};

std::u16string CoordinateText(const CoordinateForm& form, const StoredExpr& x, const StoredExpr& y);
void LoadCoordinates(Region data, const CoordinateForm& form, StoredExpr& x, StoredExpr& y);
void SaveCoordinates(RecordBuffer& buffer, const CoordinateForm& form, const StoredExpr& x, const StoredExpr& y);

// The coordinate steps: an x and a y expression, stored in the form `Form`.
template <class Derived, uint32_t Id, const CoordinateForm& Form>
class CoordinateEventOf : public EventOf<Derived, Id> {
public:
    std::u16string GetText() const override { return CoordinateText(Form, x, y); }
    void Save(RecordBuffer& buffer) const override { SaveCoordinates(buffer, Form, x, y); }
    void Load(Region data, EventList& /*owner*/) override { LoadCoordinates(data, Form, x, y); }
    auto Fields() const { return FieldList(x, y); }

    StoredExpr x;
    StoredExpr y;
};

inline constexpr CoordinateForm kMoveForm{u"MouseRelativeMove", MakeTag("XOFS"), MakeTag("YOFS"), MakeTag("OFSX"),
                                          MakeTag("OFSY")};
inline constexpr CoordinateForm kDragForm{u"MouseRelativeDrag", MakeTag("XOFS"), MakeTag("YOFS"), MakeTag("OFSX"),
                                          MakeTag("OFSY")};
inline constexpr CoordinateForm kPositionForm{u"SetMousePosition", MakeTag("XPOS"), MakeTag("YPOS"), MakeTag("X"),
                                              MakeTag("Y")};

// A move by an offset (x, y) from the current cursor position.
class MoveMouseEvent final : public CoordinateEventOf<MoveMouseEvent, 4, kMoveForm> {};
// A left-button drag by an offset (x, y) from the current cursor position.
class DragMouseEvent final : public CoordinateEventOf<DragMouseEvent, 3, kDragForm> {};
// The cursor to an absolute screen position.
class MousePosEvent final : public CoordinateEventOf<MousePosEvent, 12, kPositionForm> {};

// The cursor to a random point of a rectangle, right and bottom edges
// excluded. Loading keeps the rectangle at least one pixel wide and high.
class PosRandomEvent : public EventOf<PosRandomEvent, 32> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(left, top, right, bottom); }

    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

}  // namespace ovrix
