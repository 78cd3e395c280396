// The workbooks family: opening and creating spreadsheet workbooks and
// reading and writing their cells, rows, columns and sheets, through the
// spreadsheet application's automation object ("Excel.Application"). Its
// objects are reached by dispatch identifier where the application's are
// fixed (Worksheets, Item, Cells, Add, Name, Save) and by name elsewhere
// (Workbooks, Open, SaveAs, Value, Rows, Columns, UsedRange, Count,
// Delete, Visible, DisplayAlerts, Quit). Any call that fails makes the
// function give no value or do nothing.
#include <vector>

#include "builtins/AutomationValues.h"
#include "builtins/FamilyTable.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"

namespace ovrix {

namespace {

constexpr int32_t kWorksheets = 0x1EE;
constexpr int32_t kItem = 0xAA;
constexpr int32_t kCells = 0xEE;
constexpr int32_t kAdd = 0xB5;
constexpr int32_t kName = 0x6E;
constexpr int32_t kSave = 0x11B;

AutoMember Id(int32_t dispid) { return {u"", dispid}; }
AutoMember Named(const char16_t* name) { return {name}; }

// Calls on the desktop's automation facet, each on the object the last one
// answered; a missing object makes every later call fail.
class Calls {
public:
    explicit Calls(Automation& automation) : automation_(automation) {}

    std::optional<AutoValue> Call(const AutoObjectRef& object, const AutoMember& member, uint16_t flag,
                                  std::vector<AutoValue> args = {}) {
        if (!object) return std::nullopt;
        return automation_.Invoke(*object, member, flag, args);
    }
    AutoObjectRef Object(const AutoObjectRef& object, const AutoMember& member, uint16_t flag,
                         std::vector<AutoValue> args = {}) {
        const std::optional<AutoValue> v = Call(object, member, flag, std::move(args));
        return v && v->type == AutoValue::Type::Object ? v->object : nullptr;
    }
    AutoObjectRef Get(const AutoObjectRef& object, const AutoMember& member, std::vector<AutoValue> args = {}) {
        return Object(object, member, dispatch::kPropertyGet, std::move(args));
    }
    bool Put(const AutoObjectRef& object, const AutoMember& member, AutoValue value) {
        return Call(object, member, dispatch::kPropertyPut, {std::move(value)}).has_value();
    }
    bool Do(const AutoObjectRef& object, const AutoMember& member, std::vector<AutoValue> args = {}) {
        return Call(object, member, dispatch::kMethod, std::move(args)).has_value();
    }

    AutoObjectRef Sheet(const ExprItem_Workbook& book, const std::u16string& name) {
        return Get(Get(book.workbook, Id(kWorksheets)), Id(kItem), {AutoValue::Text(name)});
    }
    AutoObjectRef Cell(const AutoObjectRef& sheet, double row, double column) {
        return Get(Get(sheet, Id(kCells)), Id(kItem), {AutoValue::Number(row), AutoValue::Number(column)});
    }
    // The last used row (or column) of the sheet: where the used range
    // starts plus its size; 0 when the application does not say.
    double LastUsed(const AutoObjectRef& sheet, bool rows) {
        const AutoObjectRef used = Get(sheet, Named(u"UsedRange"));
        const std::optional<AutoValue> first = Call(used, Named(rows ? u"Row" : u"Column"), dispatch::kPropertyGet);
        const double count = Count(sheet, rows);
        return first && first->type == AutoValue::Type::Number && count > 0 ? first->number + count - 1 : 0;
    }
    double Count(const AutoObjectRef& sheet, bool rows) {
        const AutoObjectRef lines = Get(Get(sheet, Named(u"UsedRange")), Named(rows ? u"Rows" : u"Columns"));
        const std::optional<AutoValue> count = Call(lines, Named(u"Count"), dispatch::kPropertyGet);
        return count && count->type == AutoValue::Type::Number ? count->number : 0;
    }

private:
    Automation& automation_;
};

const ExprItem_Workbook* BookOf(const PExprItem* args, int32_t count) {
    const auto* book = count >= 1 ? ItemAs<ExprItem_Workbook>(args[0]) : nullptr;
    return book != nullptr && book->workbook ? book : nullptr;
}

// Starts the application, shows or hides it and opens the file or makes a
// new workbook saved under the file's name. The application's own
// questions (replace a file, delete a sheet) are switched off: the script
// has asked already. A workbook that cannot be had quits the application.
PExprItem* Start(PExprItem* result, int32_t count, PExprItem* args, bool create) {
    Automation* automation = CurrentAutomation();
    if (automation == nullptr) return fnargs::None(result);
    AutoObjectRef app = automation->CreateObject(u"Excel.Application");
    if (!app) return fnargs::None(result);
    Calls calls(*automation);
    calls.Put(app, Named(u"Visible"), AutoValue::Bool(AsTruth(count >= 2 ? args[1] : PExprItem())));
    calls.Put(app, Named(u"DisplayAlerts"), AutoValue::Bool(false));
    const AutoObjectRef books = calls.Get(app, Named(u"Workbooks"));
    const AutoValue file = AutoValue::Text(fnargs::Text(args, count, 0));
    AutoObjectRef book = create ? calls.Object(books, Id(kAdd), dispatch::kMethod)
                                : calls.Object(books, Named(u"Open"), dispatch::kMethod, {file});
    if (create && book && !calls.Do(book, Named(u"SaveAs"), {file})) book = nullptr;
    if (!book) {
        calls.Do(app, Named(u"Quit"));
        return fnargs::None(result);
    }
    return fnargs::ReturnValue(result, MakeItem<ExprItem_Workbook>(std::move(app), std::move(book)));
}

PExprItem* Open(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return Start(result, count, args, false);
}
PExprItem* Create(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return Start(result, count, args, true);
}

// Runs `body` with the calls and the named sheet (argument 1) when both
// exist; otherwise the function gives no value.
template <class Body>
PExprItem* OnSheet(PExprItem* result, int32_t count, PExprItem* args, Body body) {
    Automation* automation = CurrentAutomation();
    const ExprItem_Workbook* book = BookOf(args, count);
    if (automation == nullptr || book == nullptr) return fnargs::None(result);
    Calls calls(*automation);
    const AutoObjectRef sheet = calls.Sheet(*book, fnargs::Text(args, count, 1));
    if (!sheet) return fnargs::None(result);
    return body(calls, sheet);
}

// A cell's value as text; nullopt when the cell cannot be read.
std::optional<std::u16string> CellText(Calls& calls, const AutoObjectRef& sheet, double row, double column) {
    const std::optional<AutoValue> v =
        calls.Call(calls.Cell(sheet, row, column), Named(u"Value"), dispatch::kPropertyGet);
    if (!v) return std::nullopt;
    return AsText(FromAutoValue(*v));
}

PExprItem* GetCell(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return OnSheet(result, count, args, [&](Calls& calls, const AutoObjectRef& sheet) {
        const auto text = CellText(calls, sheet, fnargs::Number(args, count, 2), fnargs::Number(args, count, 3));
        return text ? fnargs::ReturnText(result, *text) : fnargs::None(result);
    });
}

PExprItem* SetCell(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return OnSheet(result, count, args, [&](Calls& calls, const AutoObjectRef& sheet) {
        const AutoObjectRef cell = calls.Cell(sheet, fnargs::Number(args, count, 2), fnargs::Number(args, count, 3));
        calls.Put(cell, Named(u"Value"), AutoValue::Text(fnargs::Text(args, count, 4)));
        return fnargs::None(result);
    });
}

// Deletes one row or column, the ones after it moving up or left.
template <bool kRows>
PExprItem* DeleteLine(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return OnSheet(result, count, args, [&](Calls& calls, const AutoObjectRef& sheet) {
        const AutoObjectRef lines = calls.Get(sheet, Named(kRows ? u"Rows" : u"Columns"));
        calls.Do(calls.Get(lines, Id(kItem), {AutoValue::Number(fnargs::Number(args, count, 2))}), Named(u"Delete"));
        return fnargs::None(result);
    });
}

// A row's cells from column 1 to the last used column (a column's from row
// 1 to the last used row), as texts.
template <bool kRow>
PExprItem* GetLine(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return OnSheet(result, count, args, [&](Calls& calls, const AutoObjectRef& sheet) {
        const double line = fnargs::Number(args, count, 2);
        const double last = calls.LastUsed(sheet, !kRow);
        auto list = MakeItem<AnyArray>();
        for (double i = 1; i <= last; ++i) {
            const auto text = kRow ? CellText(calls, sheet, line, i) : CellText(calls, sheet, i, line);
            ItemAs<AnyArray>(list)->Push(MakeItem<ExprItem_Text>(text.value_or(u"")));
        }
        return fnargs::ReturnValue(result, list);
    });
}

// The array's values as texts into consecutive cells from column 1 (row 1).
template <bool kRow>
PExprItem* SetLine(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return OnSheet(result, count, args, [&](Calls& calls, const AutoObjectRef& sheet) {
        const double line = fnargs::Number(args, count, 2);
        const auto* values = count >= 4 ? ItemAs<AnyArray>(args[3]) : nullptr;
        if (values == nullptr) return fnargs::None(result);
        for (size_t i = 0; i < values->elements.size(); ++i) {
            const double at = static_cast<double>(i + 1);
            const AutoObjectRef cell = kRow ? calls.Cell(sheet, line, at) : calls.Cell(sheet, at, line);
            calls.Put(cell, Named(u"Value"), AutoValue::Text(AsText(values->elements[i])));
        }
        return fnargs::None(result);
    });
}

template <bool kRows>
PExprItem* SheetCount(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return OnSheet(result, count, args, [&](Calls& calls, const AutoObjectRef& sheet) {
        return fnargs::ReturnNumber(result, calls.Count(sheet, kRows));
    });
}

PExprItem* Save(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Automation* automation = CurrentAutomation();
    const ExprItem_Workbook* book = BookOf(args, count);
    if (automation != nullptr && book != nullptr) Calls(*automation).Do(book->workbook, Id(kSave));
    return fnargs::None(result);
}

PExprItem* AddSheet(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Automation* automation = CurrentAutomation();
    const ExprItem_Workbook* book = BookOf(args, count);
    if (automation == nullptr || book == nullptr) return fnargs::None(result);
    Calls calls(*automation);
    const AutoObjectRef sheet = calls.Object(calls.Get(book->workbook, Id(kWorksheets)), Id(kAdd), dispatch::kMethod);
    calls.Put(sheet, Id(kName), AutoValue::Text(fnargs::Text(args, count, 1)));
    return fnargs::None(result);
}

PExprItem* DelSheet(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return OnSheet(result, count, args, [&](Calls& calls, const AutoObjectRef& sheet) {
        calls.Do(sheet, Named(u"Delete"));
        return fnargs::None(result);
    });
}

const ArgSpec kWorkbook{u"Workbook", fkind::kObject, {}, 0, u"Workbook Workbook"};
const ArgSpec kSheet{u"SheetName", fkind::kText, DefText(u"Sheet1")};
const ArgSpec kRow{u"Row", fkind::kNumber, DefNumber(1)};
const ArgSpec kColumn{u"Column", fkind::kNumber, DefNumber(1)};
const ArgSpec kValueList{u"ValueList", fkind::kArray};

const FunctionSpec kWorkbooks[] = {
    {u"XLS_Open", fkind::kObject, Open, {{u"ExcelFile", fkind::kText}, {u"Visible", fkind::kBool}}, u"Workbook"},
    {u"XLS_Create", fkind::kObject, Create, {{u"ExcelFile", fkind::kText}, {u"Visible", fkind::kBool}},
     u"Workbook"},
    {u"XLS_GetCell", fkind::kText, GetCell, {kWorkbook, kSheet, kRow, kColumn}},
    {u"XLS_SetCell", fkind::kNothing, SetCell, {kWorkbook, kSheet, kRow, kColumn, {u"Value", fkind::kText}}},
    {u"XLS_DelRow", fkind::kNothing, DeleteLine<true>, {kWorkbook, kSheet, kRow}},
    {u"XLS_DelColumn", fkind::kNothing, DeleteLine<false>, {kWorkbook, kSheet, kColumn}},
    {u"XLS_GetColumn", fkind::kObject, GetLine<false>, {kWorkbook, kSheet, kColumn}, u"Array"},
    {u"XLS_GetRow", fkind::kObject, GetLine<true>, {kWorkbook, kSheet, kRow}, u"Array"},
    {u"XLS_SetColumn", fkind::kNothing, SetLine<false>, {kWorkbook, kSheet, kColumn, kValueList}},
    {u"XLS_SetRow", fkind::kNothing, SetLine<true>, {kWorkbook, kSheet, kRow, kValueList}},
    {u"XLS_Save", fkind::kNothing, Save, {kWorkbook}},
    {u"XLS_SheetRowCount", fkind::kNumber, SheetCount<true>, {kWorkbook, kSheet}},
    {u"XLS_SheetColumnCount", fkind::kNumber, SheetCount<false>, {kWorkbook, kSheet}},
    {u"XLS_AddSheet", fkind::kNothing, AddSheet, {kWorkbook, {u"SheetName", fkind::kText}}},
    {u"XLS_DelSheet", fkind::kNothing, DelSheet, {kWorkbook, kSheet}},
};

}  // namespace

std::span<const FunctionSpec> WorkbookFunctions() { return kWorkbooks; }

}  // namespace ovrix
