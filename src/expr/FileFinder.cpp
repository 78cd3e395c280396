// The file finder's state machine (see FileFinder.h). The finder owns its
// search object; dropping it ends the search for good.
#include "expr/FileFinder.h"

#include "expr/KindsObject.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"

namespace ovrix {

ExprItem_FileFinder::ExprItem_FileFinder() : ObjectItem(kind::kFileFinder, u"FileFinder") {}

ExprItem_FileFinder::~ExprItem_FileFinder() = default;

PExprItem CreateFileFinder(std::u16string_view pattern, std::unique_ptr<FileSearch> search) {
    if (pattern.empty() || !search) return {};
    auto* finder = new ExprItem_FileFinder();
    finder->pattern = std::u16string(pattern);
    finder->search = std::move(search);
    return PExprItem::Of(finder);
}

std::u16string PatternFolder(std::u16string_view pattern) {
    const size_t last = pattern.find_last_of(u"\\/:");
    return last == std::u16string_view::npos ? std::u16string() : std::u16string(pattern.substr(0, last + 1));
}

namespace {

bool IsDotEntry(const std::u16string& name) { return name == u"." || name == u".."; }

// One step of the search: First on the first call, Next afterwards.
bool Advance(ExprItem_FileFinder& finder, FoundFile& found) {
    if (finder.firstCall != 0) {
        finder.firstCall = 0;
        return finder.search->First(finder.pattern, found);
    }
    return finder.search->Next(found);
}

PExprItem Describe(const ExprItem_FileFinder& finder, const FoundFile& found) {
    auto* record = new ExprItem_NamedData();
    PExprItem result = PExprItem::Of(record);
    record->Set(u"FileName", MakeItem<ExprItem_Text>(found.name));
    record->Set(u"FullPath", MakeItem<ExprItem_Text>(PatternFolder(finder.pattern) + found.name));
    record->Set(u"IsFolder", MakeItem<ExprItem_Bool>((found.attributes & kFolderAttribute) != 0));
    record->Set(u"Size", MakeItem<ExprItem_Num>(static_cast<double>(found.size)));
    record->Set(u"Attributes", MakeItem<ExprItem_Num>(found.attributes, numflag::kHex));
    record->Set(u"CreationTime", MakeItem<ExprItem_DateTime>(found.creationTime));
    record->Set(u"LastAccessTime", MakeItem<ExprItem_DateTime>(found.lastAccessTime));
    record->Set(u"LastModifyTime", MakeItem<ExprItem_DateTime>(found.lastWriteTime));
    return result;
}

}  // namespace

PExprItem FindNextFile(const PExprItem& value) {
    auto* finder = ItemAs<ExprItem_FileFinder>(value);
    if (finder == nullptr || !finder->search) return {};
    FoundFile found;
    bool ok = Advance(*finder, found);
    while (ok && IsDotEntry(found.name)) {
        found = FoundFile();
        ok = Advance(*finder, found);
    }
    if (!ok) {
        finder->search.reset();
        return {};
    }
    return Describe(*finder, found);
}

namespace containers {

PExprItem FindNextFile(Arguments args) { return args.empty() ? PExprItem() : ovrix::FindNextFile(args[0]); }

}  // namespace containers

}  // namespace ovrix
