// The plain value kinds: texts, numbers, truth values, byte data, times,
// handles, rectangles, points and the two name kinds (member and variable).
// Each holds its value directly; none holds other values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "container/Recycler.h"
#include "expr/ExprItem.h"
#include "expr/ExprKinds.h"
#include "expr/VariableFrame.h"

namespace ovrix {

class NumberEnum;

class ExprItem_Text : public ExprItem {
public:
    explicit ExprItem_Text(std::u16string t = {}) : ExprItem(kind::kText), text(std::move(t)) {}
    std::u16string GetTypeName() const override { return u"Text"; }
    std::u16string GetDisplayText() const override;
    std::u16string GetMarkedText() const override;
    std::u16string GetValueText() const override { return text; }
    double GetNumber() const override;
    bool GetBool() const override { return !text.empty(); }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;

    std::u16string text;
};

class ExprItem_Num : public ExprItem {
public:
    explicit ExprItem_Num(double v = 0.0, uint32_t displayFlags = 0, const NumberEnum* e = nullptr)
        : ExprItem(kind::kNumber), flags(displayFlags), enumeration(e), value(v) {}
    std::u16string GetTypeName() const override;
    std::u16string GetDisplayText() const override;
    std::u16string GetMarkedText() const override;
    double GetNumber() const override { return value; }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;

    // Every operator makes a Number and most die at once: their storage is
    // recycled instead of going back to the heap.
    static void* operator new(size_t size) {
        return size == sizeof(ExprItem_Num) ? Recycler<sizeof(ExprItem_Num)>::Take() : ::operator new(size);
    }
    static void operator delete(void* p, size_t size) {
        if (size == sizeof(ExprItem_Num)) {
            Recycler<sizeof(ExprItem_Num)>::Give(p);
        } else {
            ::operator delete(p);
        }
    }

    uint32_t flags;                  // numflag bits
    const NumberEnum* enumeration;  // not owned; tables live for the program
    double value;
};

class ExprItem_Bool : public ExprItem {
public:
    explicit ExprItem_Bool(bool v = false) : ExprItem(kind::kBool), value(v) {}
    std::u16string GetTypeName() const override { return u"Bool"; }
    std::u16string GetDisplayText() const override { return value ? u"True" : u"False"; }
    double GetNumber() const override { return value ? 1.0 : 0.0; }
    bool GetBool() const override { return value; }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;

    bool value;
};

class ExprItem_Empty : public ExprItem {
public:
    ExprItem_Empty() : ExprItem(kind::kEmpty) {}
    std::u16string GetTypeName() const override { return u"Empty"; }
    std::u16string GetDisplayText() const override { return u"Empty"; }
    std::u16string GetMarkedText() const override { return u"**P[5]Empty"; }
    std::u16string GetValueText() const override { return {}; }
    bool GetBool() const override { return false; }
    PExprItem Clone() const override;
};

// Raw bytes shown as hexadecimal digits.
class ExprItem_Hex : public ExprItem {
public:
    explicit ExprItem_Hex(std::vector<uint8_t> b = {}) : ExprItem(kind::kHex), bytes(std::move(b)) {}
    std::u16string GetTypeName() const override { return u"HexData"; }
    std::u16string GetDisplayText() const override;
    std::u16string GetMarkedText() const override;
    std::u16string GetValueText() const override;
    double GetNumber() const override;
    bool GetBool() const override { return !bytes.empty(); }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;

    std::vector<uint8_t> bytes;
};

// Raw bytes shown only by identity (binary data made by functions).
class ExprItem_BinData : public ExprItem {
public:
    explicit ExprItem_BinData(std::vector<uint8_t> b = {}) : ExprItem(kind::kBinData), bytes(std::move(b)) {}
    std::u16string GetTypeName() const override { return u"HexData"; }
    std::u16string GetDisplayText() const override { return IdentityText(u"HexData", Identity()); }
    double GetNumber() const override { return Identity(); }
    bool GetBool() const override { return true; }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;

    std::vector<uint8_t> bytes;
};

class ExprItem_DateTime : public ExprItem {
public:
    explicit ExprItem_DateTime(int64_t s = 0) : ExprItem(kind::kDateTime), seconds(s) {}
    std::u16string GetTypeName() const override { return u"DateTime"; }
    std::u16string GetDisplayText() const override;
    bool GetBool() const override { return false; }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;

    int64_t seconds;  // since 1970-01-01 00:00 UTC
};

class ExprItem_TimeSpan : public ExprItem {
public:
    explicit ExprItem_TimeSpan(int64_t s = 0) : ExprItem(kind::kTimeSpan), seconds(s) {}
    std::u16string GetTypeName() const override { return u"TimeSpan"; }
    std::u16string GetDisplayText() const override;
    bool GetBool() const override { return false; }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;

    int64_t seconds;  // may be negative
};

// A system handle owned by the value: the closing function, when set, is
// called with the value when the item dies. Handles cannot be copied.
using HandleCloseFn = void (*)(uint32_t value);

class ExprItem_Handle : public ExprItem {
public:
    explicit ExprItem_Handle(uint32_t v = 0, HandleCloseFn close = nullptr)
        : ExprItem(kind::kHandle), value(v), closer(close) {}
    ~ExprItem_Handle() override;
    std::u16string GetTypeName() const override { return u"Handle"; }
    std::u16string GetDisplayText() const override;
    double GetNumber() const override { return value; }
    bool GetBool() const override { return value != 0; }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override { return {}; }

    uint32_t value;
    HandleCloseFn closer;
};

class ExprItem_Rect : public ExprItem {
public:
    ExprItem_Rect(int32_t l = 0, int32_t t = 0, int32_t r = 0, int32_t b = 0)
        : ExprItem(kind::kRect), left(l), top(t), right(r), bottom(b) {}
    std::u16string GetTypeName() const override { return u"Rect"; }
    std::u16string GetDisplayText() const override;
    double GetNumber() const override { return Identity(); }
    bool GetBool() const override { return true; }
    PExprItem Clone() const override;

    int32_t left, top, right, bottom;
};

class ExprItem_Point : public ExprItem {
public:
    ExprItem_Point(int32_t px = 0, int32_t py = 0) : ExprItem(kind::kPoint), x(px), y(py) {}
    std::u16string GetTypeName() const override { return u"Point"; }
    std::u16string GetDisplayText() const override;
    double GetNumber() const override { return Identity(); }
    bool GetBool() const override { return true; }
    PExprItem Clone() const override;

    int32_t x, y;
};

// A member name written after a dot; an argument of member functions.
class ExprItem_Member : public ExprItem {
public:
    explicit ExprItem_Member(std::u16string n = {}) : ExprItem(kind::kMember), name(std::move(n)) {}
    std::u16string GetTypeName() const override { return u"Member"; }
    std::u16string GetDisplayText() const override { return name; }
    std::u16string GetMarkedText() const override { return Marker(u'P', name); }
    bool GetBool() const override { return !name.empty(); }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;

    std::u16string name;
};

// A reference to a variable by its canonical name (prefix, base name and
// member parts). Its number and truth are those of the value it reaches.
class ExprItem_Var : public ExprItem {
public:
    // The name is brought to canonical form.
    explicit ExprItem_Var(std::u16string_view name = {});
    std::u16string GetTypeName() const override { return u"Variable"; }
    std::u16string GetDisplayText() const override { return name_; }
    std::u16string GetMarkedText() const override { return Marker(u'B', name_); }
    double GetNumber() const override;
    bool GetBool() const override;
    PExprItem Evaluate() override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    bool IsEqual(const ExprItem& other) const override;
    PExprItem Clone() const override;

    const std::u16string& Name() const { return name_; }
    // Where this node last found its variable (see VariableSlot).
    VariableSlot* Slot() const { return &slot_; }

private:
    std::u16string name_;
    mutable VariableSlot slot_;
};

}  // namespace ovrix
