// A connection to an SQLite file through the library's entries, and the
// record set its statements give: the whole result held in memory, one
// column of texts per result column, with a map from column name to number.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Databases.h"

namespace ovrix {

class SqliteRecordSet final : public DbRecordSet {
public:
    bool AtEnd() override { return row_ >= RowCount(); }
    int32_t FieldCount() override { return static_cast<int32_t>(columns_.size()); }
    void MoveNext() override {
        if (row_ < RowCount()) ++row_;
    }
    std::optional<std::u16string> FieldByIndex(int32_t index) override;
    std::optional<std::u16string> FieldByName(std::u16string_view name) override;

    // One row of sqlite3_exec's callback. The first row makes the columns;
    // a row whose column count differs from theirs (a later statement of
    // another shape) is left out.
    void AddRow(int columns, char** values, char** names, CodePage& codePage);

private:
    size_t RowCount() const { return columns_.empty() ? 0 : columns_.front().size(); }

    std::vector<std::vector<std::u16string>> columns_;
    std::map<std::u16string, int32_t, std::less<>> numbers_;
    size_t row_ = 0;
    bool shaped_ = false;  // the first row has made the columns
};

// Opens the file (its name in the thread's ANSI code page); null when the
// library refuses it.
std::unique_ptr<DbConnection> OpenSqlite(const SqliteEntries& entries, CodePage& codePage,
                                         std::u16string_view file);

}  // namespace ovrix
