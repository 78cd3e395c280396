// The object kinds: values that stand for something outside the expression
// language (arrays, named data, file searches, workbooks, processes,
// windows, images, automation objects, solvers). They show by identity,
// are true, and compare equal only to themselves (an image: to any image of
// an equal picture). Identity, copying and text forms live here; the
// container kinds (array, named data, file finder) declare their operations
// here and define them in Array.cpp, NamedData.cpp and FileFinder.cpp.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "expr/ExprItem.h"
#include "expr/ExprKinds.h"
#include "platform/Automation.h"
#include "platform/Picture.h"
#include "platform/Processes.h"

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

// An ordered vector of slots; each slot holds a cell or nothing. Storing a
// value shares its item (never a copy), so changes made inside the item
// show through every slot, variable and member that holds it; a clone of
// the array shares the same cells. Indexes are 0-based; an index or count
// out of range is ignored (Get answers no value), except that Insert clamps.
// The operations live in Array.cpp.
class AnyArray : public ObjectItem {
public:
    AnyArray() : ObjectItem(kind::kArray, u"Array") {}
    bool Walk(ExprWalkFn callback, void* context) override;
    PExprItem Clone() const override;

    int64_t Size() const { return static_cast<int64_t>(elements.size()); }
    // Appends a fresh cell on value's item (no value gives an empty slot).
    void Push(const PExprItem& value);
    // Removes the last slot and answers its value; no value when empty.
    PExprItem Pop();
    // The slot's own cell, or no value when index is out of range.
    PExprItem Get(int64_t index) const;
    // Set and Insert store value's cell itself: a later assignment through
    // that cell shows in the slot.
    void Set(int64_t index, const PExprItem& value);
    void Insert(int64_t index, const PExprItem& value);
    // Removes slots index .. min(index + count, size) - 1 when index is in
    // range and count is at least 1.
    void Remove(int64_t index, int64_t count);
    void Clear() { elements.clear(); }
    // The first slot decides: a Number there compares all slots as numbers,
    // anything else compares all as texts (case counts). Not stable.
    void Sort(bool ascending);
    // One line per slot from start; a count of 0 runs to the end. Display
    // lines read "[i] = " and the slot's display text; raw lines hold only
    // the slot's value text. Every line ends with CR LF.
    std::u16string Print(int64_t start, int64_t count, bool raw) const;
    // Grows the capacity to at least n by doubling from 1 (1, 2, 4, 8, ...).
    void Reserve(size_t n);

    std::vector<PExprItem> elements;
};

// A small record keyed by name (compared exactly). Entries hold cells like
// array slots; the name vector keeps the order in which names were first
// set, which a later Set of the same name does not change. The operations
// live in NamedData.cpp.
class ExprItem_NamedData : public ObjectItem {
public:
    ExprItem_NamedData() : ObjectItem(kind::kNamedData, u"NamedData") {}
    bool Walk(ExprWalkFn callback, void* context) override;
    PExprItem Clone() const override;

    // An empty name does nothing; the entry holds value's cell itself.
    void Set(const std::u16string& name, const PExprItem& value);
    PExprItem Get(const std::u16string& name) const;
    // The name at index in first-set order, or null when out of range.
    const std::u16string* GetName(int64_t index) const;
    int64_t Size() const { return static_cast<int64_t>(entries.size()); }
    void Remove(const std::u16string& name);
    void Clear();
    // "name = display text" and CR LF per entry, in first-set order.
    std::u16string Print() const;

    std::map<std::u16string, PExprItem> entries;
    std::vector<std::u16string> order;  // names in first-set order
};

class FileSearch;

// A directory search: the platform's search object, the pattern it runs on,
// and the first-call flag (1 until the first match was asked for). The
// search object is dropped when the search runs out. No clone.
// The operations live in FileFinder.cpp.
class ExprItem_FileFinder : public ObjectItem {
public:
    ExprItem_FileFinder();
    ~ExprItem_FileFinder() override;

    int32_t firstCall = 1;
    std::u16string pattern;
    std::unique_ptr<FileSearch> search;
};

// The spreadsheet application's object and the workbook open in it, both
// released when the value dies. No clone.
class ExprItem_Workbook : public ObjectItem {
public:
    ExprItem_Workbook(AutoObjectRef app = nullptr, AutoObjectRef book = nullptr)
        : ObjectItem(kind::kWorkbook, u"Workbook"), application(std::move(app)), workbook(std::move(book)) {}

    AutoObjectRef application;
    AutoObjectRef workbook;
};

// A process opened with all access; the process is closed when the value
// dies. A value loaded from a stored form holds no process.
class ExprItem_Process : public ObjectItem {
public:
    explicit ExprItem_Process(std::unique_ptr<ProcessHandle> opened = nullptr)
        : ObjectItem(kind::kProcess, u"Process"),
          processId(opened != nullptr ? opened->Id() : 0),
          process(std::move(opened)) {}
    uint32_t processId;
    std::unique_ptr<ProcessHandle> process;
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

// A picture held by value: a copy is a picture of its own, and two images
// are equal when their pictures are (size, depth and every pixel byte).
class ExprItem_Image : public ObjectItem {
public:
    explicit ExprItem_Image(VBmp p = {}) : ObjectItem(kind::kImage, u"Image"), picture(std::move(p)) {}
    PExprItem Clone() const override { return MakeItem<ExprItem_Image>(picture); }
    bool IsEqual(const ExprItem& other) const override;

    VBmp picture;
};

// An automation object, released when the last item sharing it dies. It
// shows its type name and identity, or "[OleObject]" without an object or
// without a type name; a copy shares the same object.
class ExprItem_OcxObj : public ObjectItem {
public:
    explicit ExprItem_OcxObj(AutoObjectRef o = nullptr) : ObjectItem(kind::kOleObject, u"OleObject"), object(std::move(o)) {}
    std::u16string GetDisplayText() const override;
    PExprItem Clone() const override { return MakeItem<ExprItem_OcxObj>(object); }

    AutoObjectRef object;
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
