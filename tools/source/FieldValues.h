// The typed values of the source form: how the data of one record reads as
// text (a number, an enumeration word, a text literal, hex bytes, a picture
// file, an expression) and back.
//
// The writer never trusts its own formatting: a value's text is parsed
// again and kept only when it gives back the very bytes of the record, so a
// record that the typed form cannot hold (a text without its zero unit, a
// real with an odd NaN) falls to the raw form instead of changing.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SourceText.h"
#include "StepFields.h"
#include "container/Container.h"

namespace ovrix {

using Bytes = std::vector<uint8_t>;

// The picture files that sit beside a source file: the writer adds the ones
// it makes (and the tool then writes them out), the compiler reads them from
// the source's folder.
class PictureFiles {
public:
    PictureFiles() = default;
    // Reads files missing from memory from `folder` (UTF-8 path).
    explicit PictureFiles(std::string folder) : folder_(std::move(folder)), reads_(true) {}
    // Files are named PREFIX-N.EXT when a writer gives a prefix.
    void SetPrefix(std::u16string prefix) { prefix_ = std::move(prefix); }

    std::u16string Add(std::u16string_view extension, Bytes bytes);
    // Forgets the file added last (one that did not read back the same).
    void DropLast() { files_.erase(last_); }
    std::optional<Bytes> Get(const std::u16string& name);
    const std::map<std::u16string, Bytes>& Files() const { return files_; }

private:
    std::string folder_;
    bool reads_ = false;
    std::u16string prefix_ = u"picture";
    uint32_t next_ = 1;
    std::u16string last_;
    std::map<std::u16string, Bytes> files_;
};

// The value's text for a record's data, or nullopt when the typed form cannot
// hold it exactly. `files` (may be null) takes pictures as files.
std::optional<std::u16string> FieldText(const FieldRow& row, Region data, PictureFiles* files);
// Parses a value of the row's type at the cursor and sets `out` to the
// record's data. On a mistake adds an error and answers false.
bool ParseFieldValue(const FieldRow& row, SourceCursor& cursor, Bytes& out, SourceErrors& errors,
                     PictureFiles* files);
// The data the compiler writes for a row left out of a step line.
Bytes DefaultFieldData(const FieldRow& row);

// hex"..." and its reader (pairs of hex digits, spaces between them allowed).
std::u16string HexLiteral(Region bytes);
bool ReadHexLiteral(SourceCursor& cursor, Bytes& out, SourceErrors& errors);
// A tag as 'CODE' when it spells letters, digits or '_', else as 0x hex.
std::u16string TagText(uint32_t tag);
bool ReadTag(SourceCursor& cursor, uint32_t& tag, SourceErrors& errors);
// Unsigned (decimal or 0x hex) and signed decimal numbers.
bool ReadUnsigned(SourceCursor& cursor, uint64_t limit, uint64_t& value, SourceErrors& errors);
bool ReadSigned(SourceCursor& cursor, int64_t low, int64_t high, int64_t& value, SourceErrors& errors);

Bytes U32Data(uint32_t value);
Bytes TextData(std::u16string_view text);
// Appends a whole record: its tag, its length and its data.
void Put(Bytes& out, uint32_t tag, const Bytes& data);

}  // namespace ovrix
