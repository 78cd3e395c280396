// The files family: finding, copying and deleting files, their times, and
// reading and writing their contents. Every row needs the file system, so
// the rows are registered with no implementation yet: a call shows and
// saves as usual and evaluates to no value.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const ArgSpec kFile{u"File", fkind::kText};

const FunctionSpec kFiles[] = {
    {u"CreateFileFinder", fkind::kObject, nullptr, {{u"FileName", fkind::kText, DefText(u"C:\\*.txt")}},
     u"FileFinder"},
    {u"FindNextFile", fkind::kObject, nullptr, {{u"FileFinder", fkind::kFileFinder}}, u"NamedData"},
    {u"CopyFile", fkind::kNothing, nullptr, {{u"ExistingFile", fkind::kText}, {u"NewFile", fkind::kText}}},
    {u"DeleteFile", fkind::kNothing, nullptr, {kFile}},
    {u"GetFileLastModifyTime", fkind::kDateTime, nullptr, {kFile}},
    {u"GetFileCreationTime", fkind::kDateTime, nullptr, {kFile}},
    {u"SetFileLastModifyTime", fkind::kNothing, nullptr, {kFile, {u"LastModifyTime", fkind::kDateTime}}},
    {u"SetFileCreationTime", fkind::kNothing, nullptr, {kFile, {u"FileCreationTime", fkind::kDateTime}}},
    {u"IsFileExist", fkind::kBool, nullptr, {kFile}},
    {u"LoadTextFile", fkind::kText, nullptr, {kFile}},
    {u"LoadBinaryFile", fkind::kHexData, nullptr, {kFile}},
    {u"SaveTextToFile", fkind::kNothing, nullptr,
     {kFile, {u"Text", fkind::kText}, {u"UnicodeText", fkind::kBool, DefBool(true)}}},
    {u"AppendTextToFile", fkind::kNothing, nullptr, {kFile, {u"Text", fkind::kText}}},
    {u"GetCurrentDirectory", fkind::kText, nullptr},
};

}  // namespace

std::span<const FunctionSpec> FileFunctions() { return kFiles; }

}  // namespace ovrix
