// The files family: finding, copying and deleting files, their times, and
// reading and writing their contents, all through the desktop's files. A
// call without its arguments, or with an empty path, gives no value and does
// nothing; so does one that the disk refuses (the copy, delete, write and
// time calls leave their error in the trace only). Text encodings follow
// TextFileEncoding.h.
#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "builtins/TextFileEncoding.h"
#include "expr/FileFinder.h"
#include "expr/KindsValue.h"
#include "platform/Desktop.h"

namespace ovrix {

namespace {

using fnargs::None;
using fnargs::ReturnValue;

Files* DesktopFiles() {
    BuiltinHost* host = GetBuiltinHost();
    return host != nullptr ? &host->GetDesktop().files : nullptr;
}

// The files and the first argument's path when the call has `needed`
// arguments and the path is not empty; null otherwise.
Files* FilesFor(int32_t count, PExprItem* args, int32_t needed, std::u16string& path) {
    if (count < needed) return nullptr;
    path = fnargs::Text(args, count, 0);
    return path.empty() ? nullptr : DesktopFiles();
}

TextCodePage DesktopCodePage() {
    CodePage& codePage = GetBuiltinHost()->GetDesktop().codePage;
    return {[&codePage](std::string_view bytes) { return codePage.FromAnsi(bytes); },
            [&codePage](std::u16string_view text) { return codePage.ToAnsi(text, false); }};
}

// The whole file, unless it is missing, unreadable or past the loaders' bound.
std::optional<std::vector<uint8_t>> LoadWhole(Files& files, std::u16string_view path) {
    const std::optional<FoundFile> info = files.FileInfo(path);
    if (!info || (info->attributes & kFolderAttribute) != 0 || info->size > kMaxLoadedFileBytes) return std::nullopt;
    std::vector<uint8_t> bytes;
    if (files.ReadFile(path, kMaxLoadedFileBytes + 1, bytes) != 0 || bytes.size() > kMaxLoadedFileBytes) {
        return std::nullopt;
    }
    return bytes;
}

PExprItem* CreateFileFinder(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    std::u16string pattern;
    Files* files = FilesFor(count, args, 1, pattern);
    if (files == nullptr) return None(result);
    return ReturnValue(result, ovrix::CreateFileFinder(pattern, files->NewSearch()));
}

PExprItem* CopyFile(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    std::u16string source;
    Files* files = FilesFor(count, args, 2, source);
    const std::u16string destination = fnargs::Text(args, count, 1);
    if (files != nullptr && !destination.empty()) files->CopyFile(source, destination, FileCaller::Function);
    return None(result);
}

PExprItem* DeleteFile(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    std::u16string path;
    if (Files* files = FilesFor(count, args, 1, path)) files->DeleteFile(path, FileCaller::Function);
    return None(result);
}

template <FileTime Which>
PExprItem* GetFileTime(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    std::u16string path;
    Files* files = FilesFor(count, args, 1, path);
    const std::optional<FoundFile> info = files != nullptr ? files->FileInfo(path) : std::nullopt;
    if (!info) return None(result);
    const int64_t seconds = Which == FileTime::Creation ? info->creationTime : info->lastWriteTime;
    return ReturnValue(result, MakeItem<ExprItem_DateTime>(seconds));
}

template <FileTime Which>
PExprItem* SetFileTime(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    std::u16string path;
    Files* files = FilesFor(count, args, 2, path);
    const auto* time = count >= 2 ? ItemAs<ExprItem_DateTime>(args[1]) : nullptr;
    if (files != nullptr && time != nullptr) files->SetFileTime(path, Which, time->seconds);
    return None(result);
}

PExprItem* IsFileExist(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    std::u16string path;
    Files* files = FilesFor(count, args, 1, path);
    if (files == nullptr) return None(result);
    return ReturnValue(result, MakeItem<ExprItem_Bool>(files->FileExists(path)));
}

PExprItem* LoadTextFile(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    std::u16string path;
    Files* files = FilesFor(count, args, 1, path);
    const auto bytes = files != nullptr ? LoadWhole(*files, path) : std::nullopt;
    if (!bytes) return None(result);
    return fnargs::ReturnText(result, DecodeTextFile(*bytes, DesktopCodePage()));
}

PExprItem* LoadBinaryFile(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    std::u16string path;
    Files* files = FilesFor(count, args, 1, path);
    auto bytes = files != nullptr ? LoadWhole(*files, path) : std::nullopt;
    if (!bytes) return None(result);
    return ReturnValue(result, MakeItem<ExprItem_Hex>(std::move(*bytes)));
}

PExprItem* SaveTextToFile(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    std::u16string path;
    Files* files = FilesFor(count, args, 2, path);
    if (files == nullptr) return None(result);
    const bool unicode = count < 3 || AsTruth(args[2]);
    const TextEncoding encoding = unicode ? TextEncoding::Utf16Le : TextEncoding::Ansi;
    files->WriteFile(path, EncodeText(fnargs::Text(args, count, 1), encoding, true, DesktopCodePage()), false);
    return None(result);
}

// Text goes on in the encoding of the file's mark; a missing file is made
// as SaveTextToFile makes one by default, with the UTF-16LE mark.
PExprItem* AppendTextToFile(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    std::u16string path;
    Files* files = FilesFor(count, args, 2, path);
    if (files == nullptr) return None(result);
    std::vector<uint8_t> head;
    TextEncoding encoding = TextEncoding::Utf16Le;
    bool mark = true;
    if (files->ReadFile(path, 3, head) == 0) {
        size_t markLength = 0;
        encoding = DetectEncoding(head, markLength);
        mark = false;
    } else if (files->FileExists(path)) {
        encoding = TextEncoding::Ansi;  // there but unreadable: the append will tell
        mark = false;
    }
    files->WriteFile(path, EncodeText(fnargs::Text(args, count, 1), encoding, mark, DesktopCodePage()), true);
    return None(result);
}

PExprItem* GetCurrentDirectory(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    Files* files = DesktopFiles();
    if (files == nullptr) return None(result);
    return fnargs::ReturnText(result, files->GetCurrentDirectory());
}

const ArgSpec kFile{u"File", fkind::kText};

const FunctionSpec kFiles[] = {
    {u"CreateFileFinder", fkind::kObject, CreateFileFinder, {{u"FileName", fkind::kText, DefText(u"C:\\*.txt")}},
     u"FileFinder"},
    {u"FindNextFile", fkind::kObject, fnargs::CallOperation<containers::FindNextFile>,
     {{u"FileFinder", fkind::kFileFinder}}, u"NamedData"},
    {u"CopyFile", fkind::kNothing, CopyFile, {{u"ExistingFile", fkind::kText}, {u"NewFile", fkind::kText}}},
    {u"DeleteFile", fkind::kNothing, DeleteFile, {kFile}},
    {u"GetFileLastModifyTime", fkind::kDateTime, GetFileTime<FileTime::LastWrite>, {kFile}},
    {u"GetFileCreationTime", fkind::kDateTime, GetFileTime<FileTime::Creation>, {kFile}},
    {u"SetFileLastModifyTime", fkind::kNothing, SetFileTime<FileTime::LastWrite>,
     {kFile, {u"LastModifyTime", fkind::kDateTime}}},
    {u"SetFileCreationTime", fkind::kNothing, SetFileTime<FileTime::Creation>,
     {kFile, {u"FileCreationTime", fkind::kDateTime}}},
    {u"IsFileExist", fkind::kBool, IsFileExist, {kFile}},
    {u"LoadTextFile", fkind::kText, LoadTextFile, {kFile}},
    {u"LoadBinaryFile", fkind::kHexData, LoadBinaryFile, {kFile}},
    {u"SaveTextToFile", fkind::kNothing, SaveTextToFile,
     {kFile, {u"Text", fkind::kText}, {u"UnicodeText", fkind::kBool, DefBool(true)}}},
    {u"AppendTextToFile", fkind::kNothing, AppendTextToFile, {kFile, {u"Text", fkind::kText}}},
    {u"GetCurrentDirectory", fkind::kText, GetCurrentDirectory},
};

}  // namespace

std::span<const FunctionSpec> FileFunctions() { return kFiles; }

}  // namespace ovrix
