#include "platform/sim/SimSpreadsheet.h"

#include <algorithm>
#include <climits>

#include "container/Text.h"
#include "platform/sim/SimAutomation.h"

namespace ovrix {

namespace {

using Args = std::span<const AutoValue>;
using SheetRef = std::shared_ptr<SimSheet>;

constexpr int32_t kNoId = INT32_MIN;

bool Reads(uint16_t flag) { return flag == dispatch::kMethod || flag == dispatch::kPropertyGet; }

// The member by its fixed identifier, or by name.
bool Is(const AutoMember& member, int32_t dispid, const char16_t* name) {
    return member.name.empty() ? member.dispid == dispid : EqualsNoCase(member.name, name);
}

int32_t Whole(const AutoValue& v) { return v.type == AutoValue::Type::Number ? static_cast<int32_t>(v.number) : 0; }

struct Book {
    std::vector<SheetRef> sheets;
    std::u16string path;
};
using BookRef = std::shared_ptr<Book>;

template <class T, class... A>
AutoValue Made(A&&... a) {
    return AutoValue::Object(std::make_shared<T>(std::forward<A>(a)...));
}

// A part of a sheet: the whole grid, its rows or columns, one cell, row or
// column, the used range, or the used range's rows or columns.
class Range final : public SimObject {
public:
    enum class Shape { Grid, Rows, Columns, Cell, Row, Column, Used, UsedRows, UsedColumns };
    Range(SheetRef sheet, Shape shape, int32_t row = 0, int32_t column = 0)
        : SimObject(u"Range"), sheet_(std::move(sheet)), shape_(shape), row_(row), column_(column) {}

    std::optional<AutoValue> Call(const AutoMember& m, uint16_t flag, Args args) override {
        if (Is(m, 0xAA, u"Item") && Reads(flag)) return Item(args);
        if (Is(m, kNoId, u"Value") && shape_ == Shape::Cell) return Value(flag, args);
        if (Is(m, kNoId, u"Delete") && flag == dispatch::kMethod && args.empty()) return Delete();
        if (shape_ == Shape::Used && Reads(flag) && args.empty()) {
            if (Is(m, kNoId, u"Row")) return AutoValue::Number(Extent(true).first);
            if (Is(m, kNoId, u"Column")) return AutoValue::Number(Extent(false).first);
            if (Is(m, kNoId, u"Rows")) return Made<Range>(sheet_, Shape::UsedRows);
            if (Is(m, kNoId, u"Columns")) return Made<Range>(sheet_, Shape::UsedColumns);
        }
        if (Is(m, kNoId, u"Count") && Reads(flag) && (shape_ == Shape::UsedRows || shape_ == Shape::UsedColumns)) {
            return AutoValue::Number(Extent(shape_ == Shape::UsedRows).second);
        }
        return std::nullopt;
    }

private:
    std::optional<AutoValue> Item(Args args) {
        if (shape_ == Shape::Grid && args.size() == 2 && Whole(args[0]) > 0 && Whole(args[1]) > 0) {
            return Made<Range>(sheet_, Shape::Cell, Whole(args[0]), Whole(args[1]));
        }
        if (shape_ == Shape::Rows && args.size() == 1 && Whole(args[0]) > 0) {
            return Made<Range>(sheet_, Shape::Row, Whole(args[0]));
        }
        if (shape_ == Shape::Columns && args.size() == 1 && Whole(args[0]) > 0) {
            return Made<Range>(sheet_, Shape::Column, 0, Whole(args[0]));
        }
        return std::nullopt;
    }

    std::optional<AutoValue> Value(uint16_t flag, Args args) {
        const std::pair<int32_t, int32_t> at{row_, column_};
        if (Reads(flag) && args.empty()) {
            const auto it = sheet_->cells.find(at);
            return it == sheet_->cells.end() ? AutoValue{} : it->second;
        }
        if (flag != dispatch::kPropertyPut || args.size() != 1) return std::nullopt;
        if (args[0].type == AutoValue::Type::Empty) {
            sheet_->cells.erase(at);
        } else {
            sheet_->cells[at] = args[0];
        }
        return AutoValue{};
    }

    // The cells after a deleted row (column) move up (left) by one.
    std::optional<AutoValue> Delete() {
        if (shape_ != Shape::Row && shape_ != Shape::Column) return std::nullopt;
        const bool rows = shape_ == Shape::Row;
        std::map<std::pair<int32_t, int32_t>, AutoValue> kept;
        for (auto& [at, value] : sheet_->cells) {
            const int32_t line = rows ? at.first : at.second;
            const int32_t gone = rows ? row_ : column_;
            if (line == gone) continue;
            auto moved = at;
            if (line > gone) (rows ? moved.first : moved.second) -= 1;
            kept[moved] = std::move(value);
        }
        sheet_->cells = std::move(kept);
        return AutoValue{};
    }

    // The first used row (column) and how many follow up to the last used;
    // an empty sheet uses its first cell only.
    std::pair<int32_t, int32_t> Extent(bool rows) const {
        if (sheet_->cells.empty()) return {1, 1};
        int32_t first = INT32_MAX, last = 0;
        for (const auto& [at, value] : sheet_->cells) {
            const int32_t line = rows ? at.first : at.second;
            first = std::min(first, line);
            last = std::max(last, line);
        }
        return {first, last - first + 1};
    }

    SheetRef sheet_;
    Shape shape_;
    int32_t row_, column_;
};

class Sheet final : public SimObject {
public:
    Sheet(BookRef book, SheetRef sheet) : SimObject(u"_Worksheet"), book_(std::move(book)), sheet_(std::move(sheet)) {}

    std::optional<AutoValue> Call(const AutoMember& m, uint16_t flag, Args args) override {
        if (Is(m, 0x6E, u"Name")) {
            if (Reads(flag) && args.empty()) return AutoValue::Text(sheet_->name);
            if (flag != dispatch::kPropertyPut || args.size() != 1 || args[0].text.empty()) return std::nullopt;
            sheet_->name = args[0].text;
            return AutoValue{};
        }
        if (!args.empty()) return std::nullopt;
        if (Is(m, 0xEE, u"Cells") && Reads(flag)) return Made<Range>(sheet_, Range::Shape::Grid);
        if (Is(m, kNoId, u"Rows") && Reads(flag)) return Made<Range>(sheet_, Range::Shape::Rows);
        if (Is(m, kNoId, u"Columns") && Reads(flag)) return Made<Range>(sheet_, Range::Shape::Columns);
        if (Is(m, kNoId, u"UsedRange") && Reads(flag)) return Made<Range>(sheet_, Range::Shape::Used);
        // A workbook keeps at least one sheet.
        if (Is(m, kNoId, u"Delete") && flag == dispatch::kMethod && book_->sheets.size() > 1) {
            std::erase(book_->sheets, sheet_);
            return AutoValue{};
        }
        return std::nullopt;
    }

private:
    BookRef book_;
    SheetRef sheet_;
};

class Sheets final : public SimObject {
public:
    explicit Sheets(BookRef book) : SimObject(u"Sheets"), book_(std::move(book)) {}

    std::optional<AutoValue> Call(const AutoMember& m, uint16_t flag, Args args) override {
        if (Is(m, 0xAA, u"Item") && Reads(flag) && args.size() == 1) {
            const SheetRef sheet = Find(args[0]);
            if (!sheet) return std::nullopt;
            return Made<Sheet>(book_, sheet);
        }
        if (Is(m, 0xB5, u"Add") && flag == dispatch::kMethod && args.empty()) {
            auto sheet = std::make_shared<SimSheet>();
            for (int32_t n = 1; sheet->name.empty(); ++n) {
                const std::u16string name = u"Sheet" + Widen(std::to_string(n));
                if (!Find(AutoValue::Text(name))) sheet->name = name;
            }
            book_->sheets.push_back(sheet);
            return Made<Sheet>(book_, sheet);
        }
        if (Is(m, kNoId, u"Count") && Reads(flag) && args.empty()) {
            return AutoValue::Number(static_cast<double>(book_->sheets.size()));
        }
        return std::nullopt;
    }

private:
    // By name without case, or by number from 1.
    SheetRef Find(const AutoValue& key) const {
        if (key.type == AutoValue::Type::Number) {
            const int32_t i = Whole(key);
            return i >= 1 && static_cast<size_t>(i) <= book_->sheets.size() ? book_->sheets[i - 1] : nullptr;
        }
        for (const SheetRef& s : book_->sheets) {
            if (EqualsNoCase(s->name, key.text)) return s;
        }
        return nullptr;
    }

    BookRef book_;
};

std::vector<SimSheet> Copy(const std::vector<SheetRef>& sheets) {
    std::vector<SimSheet> out;
    for (const SheetRef& s : sheets) out.push_back(*s);
    return out;
}

class Workbook final : public SimObject {
public:
    Workbook(BookRef book, std::shared_ptr<SimSpreadsheetFiles> files)
        : SimObject(u"_Workbook"), book_(std::move(book)), files_(std::move(files)) {}

    std::optional<AutoValue> Call(const AutoMember& m, uint16_t flag, Args args) override {
        if (Is(m, 0x1EE, u"Worksheets") && Reads(flag) && args.empty()) return Made<Sheets>(book_);
        if (Is(m, 0x11B, u"Save") && flag == dispatch::kMethod && args.empty() && !book_->path.empty()) {
            files_->saved[LowerCase(book_->path)] = Copy(book_->sheets);
            return AutoValue{};
        }
        if (Is(m, kNoId, u"SaveAs") && flag == dispatch::kMethod && args.size() == 1 && !args[0].text.empty()) {
            book_->path = args[0].text;
            files_->saved[LowerCase(book_->path)] = Copy(book_->sheets);
            return AutoValue{};
        }
        return std::nullopt;
    }

private:
    BookRef book_;
    std::shared_ptr<SimSpreadsheetFiles> files_;
};

class Workbooks final : public SimObject {
public:
    explicit Workbooks(std::shared_ptr<SimSpreadsheetFiles> files) : SimObject(u"Workbooks"), files_(std::move(files)) {}

    std::optional<AutoValue> Call(const AutoMember& m, uint16_t flag, Args args) override {
        if (flag != dispatch::kMethod) return std::nullopt;
        auto book = std::make_shared<Book>();
        if (Is(m, 0xB5, u"Add") && args.empty()) {
            book->sheets.push_back(std::make_shared<SimSheet>(SimSheet{u"Sheet1", {}}));
            return Made<Workbook>(book, files_);
        }
        if (Is(m, kNoId, u"Open") && args.size() == 1) {
            const auto it = files_->saved.find(LowerCase(args[0].text));
            if (it == files_->saved.end()) return std::nullopt;
            for (const SimSheet& s : it->second) book->sheets.push_back(std::make_shared<SimSheet>(s));
            book->path = args[0].text;
            return Made<Workbook>(book, files_);
        }
        return std::nullopt;
    }

private:
    std::shared_ptr<SimSpreadsheetFiles> files_;
};

class Application final : public SimObject {
public:
    explicit Application(std::shared_ptr<SimSpreadsheetFiles> files)
        : SimObject(u"_Application"), files_(std::move(files)) {
        ++files_->running;
    }
    ~Application() override { Quit(); }
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    std::optional<AutoValue> Call(const AutoMember& m, uint16_t flag, Args args) override {
        if (Is(m, kNoId, u"Visible") || Is(m, kNoId, u"DisplayAlerts")) {
            bool& setting = Is(m, kNoId, u"Visible") ? visible_ : alerts_;
            if (Reads(flag) && args.empty()) return AutoValue::Bool(setting);
            if (flag != dispatch::kPropertyPut || args.size() != 1) return std::nullopt;
            setting = args[0].truth;
            return AutoValue{};
        }
        if (Is(m, kNoId, u"Workbooks") && Reads(flag) && args.empty()) return Made<Workbooks>(files_);
        if (Is(m, kNoId, u"Quit") && flag == dispatch::kMethod && args.empty()) {
            Quit();
            return AutoValue{};
        }
        return std::nullopt;
    }

private:
    void Quit() {
        if (!quit_) --files_->running;
        quit_ = true;
    }

    std::shared_ptr<SimSpreadsheetFiles> files_;
    bool visible_ = false;
    bool alerts_ = true;
    bool quit_ = false;
};

}  // namespace

AutoObjectRef MakeSimSpreadsheet(const std::shared_ptr<SimSpreadsheetFiles>& files) {
    return std::make_shared<Application>(files);
}

}  // namespace ovrix
