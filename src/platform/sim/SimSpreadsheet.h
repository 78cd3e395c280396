// A simulated spreadsheet application for the simulated desktop, not
// registered unless a test or a desktop description registers it (a
// desktop without one is the usual case). It answers the members the
// workbook functions call, by the dispatch identifiers the application
// fixes (Worksheets 0x1EE, Item 0xAA, Cells 0xEE, Add 0xB5, Name 0x6E, Save
// 0x11B) and by name for the rest: the application (Visible, DisplayAlerts,
// Workbooks, Quit), workbooks (Open, Add), a workbook (Worksheets, Save,
// SaveAs), sheets (Item by name or number from 1, Add, Count), a sheet
// (Name, Cells, Rows, Columns, UsedRange, Delete) and ranges (Item, Value,
// Delete, Row, Column, Rows, Columns, Count).
//
// Saved workbooks live in a store of files shared by every application the
// factory makes, so that a workbook saved by one opens in the next.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Automation.h"

namespace ovrix {

struct SimSheet {
    std::u16string name;
    std::map<std::pair<int32_t, int32_t>, AutoValue> cells;  // by (row, column) from 1
};

struct SimSpreadsheetFiles {
    // Each saved workbook's sheets, by path.
    std::map<std::u16string, std::vector<SimSheet>> saved;
    // Whether an application is running (made and not yet quit or released).
    int32_t running = 0;
};

// Makes an application object over the shared files.
AutoObjectRef MakeSimSpreadsheet(const std::shared_ptr<SimSpreadsheetFiles>& files);

}  // namespace ovrix
