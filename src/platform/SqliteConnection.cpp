#include "platform/SqliteConnection.h"

namespace ovrix {

namespace {

constexpr int kSqliteOk = 0;

class SqliteConnection final : public DbConnection {
public:
    SqliteConnection(const SqliteEntries& entries, CodePage& codePage, void* db)
        : entries_(entries), codePage_(codePage), db_(db) {}
    ~SqliteConnection() override { entries_.close(db_); }
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    std::unique_ptr<DbRecordSet> Execute(std::u16string_view sql) override {
        auto records = std::make_unique<SqliteRecordSet>();
        Filling filling{records.get(), &codePage_};
        const std::string statement = codePage_.ToAnsi(sql, false);
        if (entries_.exec(db_, statement.c_str(), &Row, &filling, nullptr) != kSqliteOk) return nullptr;
        return records;
    }

private:
    struct Filling {
        SqliteRecordSet* records;
        CodePage* codePage;
    };

    // Always asks for the next row: a record set holds the whole result.
    static int Row(void* context, int columns, char** values, char** names) {
        auto* filling = static_cast<Filling*>(context);
        filling->records->AddRow(columns, values, names, *filling->codePage);
        return 0;
    }

    const SqliteEntries entries_;
    CodePage& codePage_;
    void* db_;
};

}  // namespace

std::optional<std::u16string> SqliteRecordSet::FieldByIndex(int32_t index) {
    if (index < 0 || index >= FieldCount() || AtEnd()) return std::nullopt;
    return columns_[static_cast<size_t>(index)][row_];
}

std::optional<std::u16string> SqliteRecordSet::FieldByName(std::u16string_view name) {
    const auto found = numbers_.find(name);
    if (found == numbers_.end()) return std::nullopt;
    return FieldByIndex(found->second);
}

void SqliteRecordSet::AddRow(int columns, char** values, char** names, CodePage& codePage) {
    if (!shaped_) {
        shaped_ = true;
        columns_.resize(static_cast<size_t>(columns > 0 ? columns : 0));
        for (int i = 0; i < columns; ++i) {
            numbers_[codePage.FromAnsi(names[i] != nullptr ? names[i] : "")] = i;
        }
    }
    if (static_cast<size_t>(columns) != columns_.size()) return;
    for (int i = 0; i < columns; ++i) {
        columns_[static_cast<size_t>(i)].push_back(values[i] != nullptr ? codePage.FromAnsi(values[i]) : u"");
    }
}

std::unique_ptr<DbConnection> OpenSqlite(const SqliteEntries& entries, CodePage& codePage,
                                         std::u16string_view file) {
    const std::string name = codePage.ToAnsi(file, true);
    void* db = nullptr;
    if (entries.open(name.c_str(), &db) != kSqliteOk) {
        // A failed open still hands out a handle that has to be closed.
        if (db != nullptr) entries.close(db);
        return nullptr;
    }
    return std::make_unique<SqliteConnection>(entries, codePage, db);
}

}  // namespace ovrix
