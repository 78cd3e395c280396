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
    bool FieldsEqual(const MouseEvent& other) const;

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
    bool FieldsEqual(const MouseClickEvent& other) const;

    uint32_t button = kLeft;
    uint32_t clickKind = kSingle;
};

// A move by an offset from the current cursor position.
class MoveMouseEvent : public EventOf<MoveMouseEvent, 4> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    bool FieldsEqual(const MoveMouseEvent& other) const;

    StoredExpr xOffset;
    StoredExpr yOffset;
};

// A left-button drag by an offset from the current cursor position.
class DragMouseEvent : public EventOf<DragMouseEvent, 3> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    bool FieldsEqual(const DragMouseEvent& other) const;

    StoredExpr xOffset;
    StoredExpr yOffset;
};

// The cursor to an absolute screen position.
class MousePosEvent : public EventOf<MousePosEvent, 12> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    bool FieldsEqual(const MousePosEvent& other) const;

    StoredExpr x;
    StoredExpr y;
};

// The cursor to a random point of a rectangle, right and bottom edges
// excluded. Loading keeps the rectangle at least one pixel wide and high.
class PosRandomEvent : public EventOf<PosRandomEvent, 32> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    bool FieldsEqual(const PosRandomEvent& other) const;

    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

}  // namespace ovrix
