// The workbooks family: opening and creating spreadsheet workbooks and
// reading and writing their cells, rows, columns and sheets. Workbooks
// are not built yet, so the rows are registered with no implementation: a
// call shows and saves as usual and evaluates to no value.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const ArgSpec kWorkbook{u"Workbook", fkind::kObject, {}, 0, u"Workbook Workbook"};
const ArgSpec kSheet{u"SheetName", fkind::kText, DefText(u"Sheet1")};
const ArgSpec kRow{u"Row", fkind::kNumber, DefNumber(1)};
const ArgSpec kColumn{u"Column", fkind::kNumber, DefNumber(1)};
const ArgSpec kValueList{u"ValueList", fkind::kArray};

const FunctionSpec kWorkbooks[] = {
    {u"XLS_Open", fkind::kObject, nullptr, {{u"ExcelFile", fkind::kText}, {u"Visible", fkind::kBool}}, u"Workbook"},
    {u"XLS_Create", fkind::kObject, nullptr, {{u"ExcelFile", fkind::kText}, {u"Visible", fkind::kBool}},
     u"Workbook"},
    {u"XLS_GetCell", fkind::kText, nullptr, {kWorkbook, kSheet, kRow, kColumn}},
    {u"XLS_SetCell", fkind::kNothing, nullptr, {kWorkbook, kSheet, kRow, kColumn, {u"Value", fkind::kText}}},
    {u"XLS_DelRow", fkind::kNothing, nullptr, {kWorkbook, kSheet, kRow}},
    {u"XLS_DelColumn", fkind::kNothing, nullptr, {kWorkbook, kSheet, kColumn}},
    {u"XLS_GetColumn", fkind::kObject, nullptr, {kWorkbook, kSheet, kColumn}, u"Array"},
    {u"XLS_GetRow", fkind::kObject, nullptr, {kWorkbook, kSheet, kRow}, u"Array"},
    {u"XLS_SetColumn", fkind::kNothing, nullptr, {kWorkbook, kSheet, kColumn, kValueList}},
    {u"XLS_SetRow", fkind::kNothing, nullptr, {kWorkbook, kSheet, kRow, kValueList}},
    {u"XLS_Save", fkind::kNothing, nullptr, {kWorkbook}},
    {u"XLS_SheetRowCount", fkind::kNumber, nullptr, {kWorkbook, kSheet}},
    {u"XLS_SheetColumnCount", fkind::kNumber, nullptr, {kWorkbook, kSheet}},
    {u"XLS_AddSheet", fkind::kNothing, nullptr, {kWorkbook, {u"SheetName", fkind::kText}}},
    {u"XLS_DelSheet", fkind::kNothing, nullptr, {kWorkbook, kSheet}},
};

}  // namespace

std::span<const FunctionSpec> WorkbookFunctions() { return kWorkbooks; }

}  // namespace ovrix
