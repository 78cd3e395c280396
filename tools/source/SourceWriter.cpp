// Writes images and step lists as source lines. Every record is either shown
// in a readable line that compiles back to it or written raw.
#include <vector>

#include "ImageSource.h"
#include "StepLines.h"
#include "container/Tags.h"
#include "container/Text.h"

namespace ovrix {

namespace {

struct Walk {
    std::vector<Record> records;
    std::optional<Region> tail;  // bytes that do not make a whole record
};

// The records laid whole back to back from the start; a record of length 0
// or less, or one that runs past the end, begins the tail.
Walk WalkRecords(Region c) {
    Walk walk;
    uint32_t offset = 0;
    while (offset < c.size) {
        const uint32_t left = c.size - offset;
        const int32_t length = left >= 8 ? LoadI32(c.base + offset + 4) : 0;
        if (length < 1 || static_cast<uint32_t>(length) > left - 8) {
            walk.tail = Region{c.base + offset, left};
            break;
        }
        walk.records.push_back({LoadU32(c.base + offset), Region{c.base + offset + 8, static_cast<uint32_t>(length)}});
        offset += 8 + static_cast<uint32_t>(length);
    }
    return walk;
}

class SourceWriter {
public:
    explicit SourceWriter(PictureFiles* files) : files_(files) {}

    std::u16string Take() { return std::move(out_); }

    void Image(Region image) {
        const Walk walk = WalkRecords(image);
        for (size_t i = 0; i < walk.records.size(); ++i) {
            const Record& r = walk.records[i];
            const uint32_t letter = r.tag >> 24;
            const std::u16string index = Decimal(r.tag & 0xFFFFFFu);
            if (const FieldRow* row = SettingRow(r.tag)) {
                if (auto text = FieldText(*row, r.data, nullptr)) {
                    Line(0, std::u16string(row->name) + u" " + *text);
                    continue;
                }
            }
            if (letter == 'I') {
                const FieldRow name{.tag = r.tag, .name = u"name", .type = FieldType::Text};
                if (auto text = FieldText(name, r.data, nullptr)) {
                    const bool streamFollows =
                        i + 1 < walk.records.size() && walk.records[i + 1].tag == IndexedTag('S', r.tag & 0xFFFFFFu);
                    if (!streamFollows) {
                        Line(0, u"name " + index + u" " + *text);
                        continue;
                    }
                    Line(0, u"script " + index + u" " + *text);
                    List(walk.records[++i].data, 1);
                    continue;
                }
            } else if (letter == 'S') {
                Line(0, u"script " + index);
                List(r.data, 1);
                continue;
            }
            Raw(0, r);
        }
        if (walk.tail) Line(0, u"tail " + HexLiteral(*walk.tail));
    }

private:
    static const FieldRow* SettingRow(uint32_t tag) {
        for (const FieldRow& row : SettingRows()) {
            if (row.tag == tag) return &row;
        }
        return nullptr;
    }

    void Line(size_t depth, std::u16string_view text) {
        out_.append(2 * depth, u' ');
        out_ += text;
        out_ += u'\n';
    }

    void Raw(size_t depth, const Record& r) { Line(depth, u"record " + TagText(r.tag) + u" " + HexLiteral(r.data)); }

    // A stream or a nested list: the magic, the version and the steps, in
    // their stored order.
    void List(Region list, size_t depth) {
        const Walk walk = WalkRecords(list);
        uint32_t stepIndex = 0;
        for (const Record& r : walk.records) {
            if (r.tag == tag::kStreamMagic && r.data.size == 4 && LoadU32(r.data.base) == 0) {
                Line(depth, u"magic");
            } else if (r.tag == tag::kVersion && r.data.size == 4) {
                Line(depth, u"version " + Decimal(LoadU32(r.data.base)));
            } else if (r.tag >> 24 == 'I') {
                const bool inPlace = (r.tag & 0xFFFFFFu) == stepIndex++;
                std::optional<StepLine> step;
                if (inPlace && depth < kMaxSourceDepth) step = SplitStep(r.data);
                if (!step) {
                    Raw(depth, r);
                    continue;
                }
                Line(depth, StepLineText(*step, files_));
                if (step->sub) List(*step->sub, depth + 1);
            } else {
                Raw(depth, r);
            }
        }
        if (walk.tail) Line(depth, u"tail " + HexLiteral(*walk.tail));
    }

    PictureFiles* files_;
    std::u16string out_;
};

}  // namespace

std::u16string WriteImageSource(Region image, PictureFiles* files) {
    SourceWriter writer(files);
    writer.Image(image);
    return writer.Take();
}

}  // namespace ovrix
