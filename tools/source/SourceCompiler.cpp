// Compiles source lines to an image. Lines nest by indentation (spaces); a
// mistake on one line is reported and the compile goes on with the next, so
// one run shows every line that needs fixing. Nothing is answered when any
// error was found.
#include <algorithm>
#include <vector>

#include "ImageSource.h"
#include "StepLines.h"
#include "container/Tags.h"
#include "container/Text.h"

namespace ovrix {

namespace {

struct Node {
    SourcePos pos;                 // where the line's text begins
    std::u16string_view text;      // without indentation
    std::vector<Node> children;
};

struct SourceLine {
    uint32_t number;
    size_t indent;
    std::u16string_view text;
};

std::vector<SourceLine> SplitLines(std::u16string_view source, SourceErrors& errors) {
    std::vector<SourceLine> lines;
    uint32_t number = 0;
    for (size_t start = 0; start <= source.size();) {
        size_t end = source.find(u'\n', start);
        if (end == std::u16string_view::npos) end = source.size();
        std::u16string_view line = source.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
        size_t indent = 0;
        while (indent < line.size() && line[indent] == u' ') ++indent;
        if (indent < line.size() && line[indent] == u'\t') {
            errors.Add({number, static_cast<uint32_t>(indent + 1)}, "indent with spaces, not tabs");
            continue;
        }
        const std::u16string_view text = line.substr(indent);
        if (text.empty() || text[0] == u'#') continue;
        lines.push_back({number, indent, text});
    }
    return lines;
}

// The lines indented by at least `least` spaces that follow, as siblings at
// the first one's indentation with their own nested lines.
std::vector<Node> Nest(const std::vector<SourceLine>& lines, size_t& at, size_t least, size_t depth,
                       SourceErrors& errors) {
    std::vector<Node> nodes;
    if (at >= lines.size() || lines[at].indent < least) return nodes;
    const size_t level = lines[at].indent;
    while (at < lines.size() && lines[at].indent >= least) {
        const SourceLine& line = lines[at++];
        const SourcePos pos{line.number, static_cast<uint32_t>(line.indent + 1)};
        if (line.indent != level) {
            errors.Add(pos, "bad indentation: expected " + std::to_string(level) +
                                " spaces, as the lines above at this level" +
                                (least > 0 ? ", or fewer than " + std::to_string(least) + " to close the block"
                                           : std::string()));
        }
        if (depth > kMaxSourceDepth) {
            errors.Add(pos, "nested too deeply: at most " + std::to_string(kMaxSourceDepth) + " levels");
            while (at < lines.size() && lines[at].indent >= least) ++at;
            return nodes;
        }
        Node node{pos, line.text, {}};
        node.children = Nest(lines, at, line.indent + 1, depth + 1, errors);
        nodes.push_back(std::move(node));
    }
    return nodes;
}

class SourceCompiler {
public:
    SourceCompiler(SourceErrors& errors, PictureFiles* files) : errors_(errors), files_(files) {}

    Bytes Image(const std::vector<Node>& nodes) {
        Bytes out;
        for (const Node& node : nodes) ImageLine(node, out);
        return out;
    }

private:
    bool AtLineEnd(SourceCursor& cursor) {
        cursor.SkipSpaces();
        if (cursor.AtEnd()) return true;
        errors_.Add(cursor.Pos(), "expected the line's end");
        return false;
    }

    void NoChildren(const Node& node, std::string_view what) {
        if (!node.children.empty()) {
            errors_.Add(node.children[0].pos, "unexpected indentation: " + std::string(what) +
                                                  " has no lines indented below it");
        }
    }

    // A raw record ('TAG' hex"...") or the tail (hex"..."), after its word.
    bool RawLine(SourceCursor& cursor, bool tail, Bytes& out, uint32_t* tagOut) {
        uint32_t tag = 0;
        Bytes data;
        cursor.SkipSpaces();
        if (!tail && !ReadTag(cursor, tag, errors_)) return false;
        cursor.SkipSpaces();
        if (!ReadHexLiteral(cursor, data, errors_) || !AtLineEnd(cursor)) return false;
        if (tail) {
            out.insert(out.end(), data.begin(), data.end());
        } else {
            Put(out, tag, data);
        }
        if (tagOut) *tagOut = tag;
        return true;
    }

    void ImageLine(const Node& node, Bytes& out) {
        SourceCursor cursor(node.text, node.pos);
        const std::u16string_view word = cursor.TakeName();
        if (word == u"script" || word == u"name") {
            cursor.SkipSpaces();
            uint64_t index = 0;
            if (!ReadUnsigned(cursor, 0xFFFFFF, index, errors_)) return;
            cursor.SkipSpaces();
            std::u16string name;
            const bool named = cursor.Peek() == u'"' || word == u"name";
            if (named && !ReadTextLiteral(cursor, name, errors_)) return;
            if (!AtLineEnd(cursor)) return;
            if (named) Put(out, IndexedTag('I', static_cast<uint32_t>(index)), TextData(name));
            if (word == u"name") return NoChildren(node, "a script's name");
            if (node.children.empty()) {
                errors_.Add(node.pos, "expected the script's lines (magic, version, steps) indented below it");
                return;
            }
            Put(out, IndexedTag('S', static_cast<uint32_t>(index)), List(node.children));
            return;
        }
        if (word == u"record" || word == u"tail") {
            RawLine(cursor, word == u"tail", out, nullptr);
            return NoChildren(node, "a raw record");
        }
        std::vector<std::u16string_view> names{u"script", u"name", u"record", u"tail"};
        for (const FieldRow& row : SettingRows()) {
            names.push_back(row.name);
            if (row.name != word) continue;
            cursor.SkipSpaces();
            Bytes data;
            if (ParseFieldValue(row, cursor, data, errors_, files_) && AtLineEnd(cursor)) Put(out, row.tag, data);
            return NoChildren(node, "a setting");
        }
        const std::string near = NearestNames(word, names);
        errors_.Add(node.pos, "unknown line '" + ToUtf8(word) + "': expected a setting, script, name, record or tail" +
                                  (near.empty() ? "" : "; did you mean " + near + "?"));
    }

    // A stream or a nested list; step records are numbered in order, raw
    // ones with the step letter included.
    Bytes List(const std::vector<Node>& nodes) {
        Bytes out;
        uint32_t stepIndex = 0;
        for (const Node& node : nodes) {
            SourceCursor cursor(node.text, node.pos);
            SourceCursor ahead = cursor;
            const std::u16string_view word = ahead.TakeName();
            if (word == u"magic" || word == u"version") {
                uint64_t value = 0;
                ahead.SkipSpaces();
                if (word == u"version" && !ReadUnsigned(ahead, 0xFFFFFFFFu, value, errors_)) continue;
                if (AtLineEnd(ahead)) {
                    Put(out, word == u"magic" ? tag::kStreamMagic : tag::kVersion,
                        U32Data(static_cast<uint32_t>(value)));
                }
                NoChildren(node, "this line");
            } else if (word == u"record" || word == u"tail") {
                uint32_t tag = 0;
                if (RawLine(ahead, word == u"tail", out, &tag) && word == u"record" && tag >> 24 == 'I') ++stepIndex;
                NoChildren(node, "a raw record");
            } else {
                Step(node, cursor, IndexedTag('I', stepIndex++), out);
            }
        }
        return out;
    }

    void Step(const Node& node, SourceCursor& cursor, uint32_t tag, Bytes& out) {
        const std::optional<ParsedStep> step = ParseStepLine(cursor, errors_, files_);
        const bool block = step && !step->form->rows.empty() && step->form->rows.back().type == FieldType::Sub;
        if (step && !block && !node.children.empty()) {
            errors_.Add(node.children[0].pos, "unexpected indentation: " + ToUtf8(step->form->word) +
                                                  " takes no nested steps");
        }
        // The nested lines are compiled even under a broken line, for their own errors.
        const Bytes sub = node.children.empty() ? Bytes{} : List(node.children);
        if (!step) return;
        Put(out, tag, AssembleStep(*step->form, step->exact, step->items, node.children.empty() ? nullptr : &sub));
    }

    SourceErrors& errors_;
    PictureFiles* files_;
};

}  // namespace

std::optional<Bytes> CompileImageSource(std::u16string_view source, SourceErrors& errors, PictureFiles* files) {
    SourceErrors found;
    const std::vector<SourceLine> lines = SplitLines(source, found);
    size_t at = 0;
    const std::vector<Node> nodes = Nest(lines, at, 0, 0, found);
    SourceCompiler compiler(found, files);
    Bytes image = compiler.Image(nodes);
    if (!found.Any()) return image;
    // Indentation is checked before the lines are read: the errors are shown
    // in the order of the text.
    std::vector<SourceError> sorted = found.List();
    std::stable_sort(sorted.begin(), sorted.end(), [](const SourceError& a, const SourceError& b) {
        return a.pos.line != b.pos.line ? a.pos.line < b.pos.line : a.pos.column < b.pos.column;
    });
    for (SourceError& error : sorted) errors.Add(error.pos, std::move(error.message));
    for (size_t more = found.Count() - sorted.size(); more > 0; --more) errors.Add({}, {});
    return std::nullopt;
}

}  // namespace ovrix
