// The object kinds: values that stand for something outside the expression
// language (arrays, named data, file searches, workbooks, processes,
// windows, images, automation objects, solvers). They show by identity,
// are true, and compare equal only to themselves. Only their identity,
// copying and text forms live here; their contents and operations belong to
// the containers and to the built-in function families that drive them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "expr/ExprItem.h"
#include "expr/ExprKinds.h"

namespace ovrix {

// Shared behaviour: identity text "[Label:0x%X]", number = identity, true.
class ObjectItem : public ExprItem {
public:
    ObjectItem(uint32_t kind, const char16_t* label) : ExprItem(kind), label_(label) {}
    std::u16string GetTypeName() const override { return label_; }
    std::u16string GetDisplayText() const override { return IdentityText(label_, Identity()); }
    double GetNumber() const override { return Identity(); }
    bool GetBool() const override { return true; }
    PExprItem Clone() const override { return {}; }

private:
    const char16_t* label_;
};

// Slots hold cells: storing a value shares its item, and a copy of the
// array shares the same cells.
class AnyArray : public ObjectItem {
public:
    AnyArray() : ObjectItem(kind::kArray, u"Array") {}
    bool Walk(ExprWalkFn callback, void* context) override;
    PExprItem Clone() const override;

    std::vector<PExprItem> elements;
};

class ExprItem_NamedData : public ObjectItem {
public:
    ExprItem_NamedData() : ObjectItem(kind::kNamedData, u"NamedData") {}
    bool Walk(ExprWalkFn callback, void* context) override;
    PExprItem Clone() const override;

    std::map<std::u16string, PExprItem> entries;
    std::vector<std::u16string> order;  // names in first-set order
};

class ExprItem_FileFinder : public ObjectItem {
public:
    ExprItem_FileFinder() : ObjectItem(kind::kFileFinder, u"FileFinder") {}
    int32_t firstCall = 1;
};

class ExprItem_Workbook : public ObjectItem {
public:
    ExprItem_Workbook() : ObjectItem(kind::kWorkbook, u"Workbook") {}
};

class ExprItem_Process : public ObjectItem {
public:
    ExprItem_Process() : ObjectItem(kind::kProcess, u"Process") {}
    uint32_t processId = 0;
    uint32_t processHandle = 0xFFFFFFFFu;  // invalid until a process is opened
};

// Shows the window handle rather than its own identity.
class ExprItem_WindowHandle : public ObjectItem {
public:
    explicit ExprItem_WindowHandle(uint32_t hwnd = 0) : ObjectItem(kind::kWindowHandle, u"WindowHandle"), window(hwnd) {}
    std::u16string GetDisplayText() const override { return IdentityText(u"WindowHandle", window); }
    // A copy names the same window but never owns it.
    PExprItem Clone() const override { return MakeItem<ExprItem_WindowHandle>(window); }

    uint32_t window;
    bool ownsWindow = false;
};

class ExprItem_Image : public ObjectItem {
public:
    ExprItem_Image() : ObjectItem(kind::kImage, u"Image") {}
    PExprItem Clone() const override { return MakeItem<ExprItem_Image>(); }
};

// Without an automation object attached it shows "[OleObject]".
class ExprItem_OcxObj : public ObjectItem {
public:
    ExprItem_OcxObj() : ObjectItem(kind::kOleObject, u"OleObject") {}
    std::u16string GetDisplayText() const override { return u"[OleObject]"; }
    PExprItem Clone() const override { return MakeItem<ExprItem_OcxObj>(); }
};

class ExprItem_Solver : public ObjectItem {
public:
    explicit ExprItem_Solver(std::u16string equationText = {}, uint32_t modeWord = 0)
        : ObjectItem(kind::kSolver, u"Solver"),
          equation(std::move(equationText)),
          mode(modeWord),
          tolerance(modeWord != 0 ? 1e-100 : 1e-7) {}
    std::u16string GetDisplayText() const override { return u"[Solver:" + equation + u"]"; }
    double GetNumber() const override { return 0.0; }
    bool GetBool() const override { return false; }
    PExprItem Clone() const override;

    std::u16string equation;
    std::map<std::u16string, double> unknowns;
    uint32_t mode;
    double tolerance;
};

}  // namespace ovrix
