// The parser of the expression source form: recursive descent over one
// span of a line, building each node's stored bytes bottom-up through the
// same shape encoder the writer checks against. It stops at the first
// mistake with one error that says what was expected where. Nesting is
// bounded twice: by the depth of the node tree built (kMaxSourceDepth) and
// by the parser's own recursion, so no text can exhaust the stack.
#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "ExprLiterals.h"
#include "ExprNames.h"
#include "ExprShape.h"
#include "ExprSource.h"
#include "builtins/Function.h"
#include "builtins/Registry.h"
#include "container/Text.h"
#include "expr/ExprKinds.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"

namespace ovrix {

namespace {

// Every readable level costs the parser at most two nested entries (an
// operator's operand and the parentheses around it), plus a few at the top.
constexpr int kMaxRecursion = 2 * kMaxSourceDepth + 8;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// What a variable name in "$(" ")" may hold: no brackets, dots, commas
// that ExprSpanEnd would count, quotes or control characters.
bool IsBracketNamePart(char16_t c) {
    return c >= 0x20 && std::u16string_view(u"()[]{}.\",").find(c) == std::u16string_view::npos;
}

std::string PosText(SourcePos pos) { return std::to_string(pos.line) + ":" + std::to_string(pos.column); }

// One parsed node: its stored bytes, or none for an absent node "()".
struct Parsed {
    std::optional<RecordBuffer> bytes;
    int depth = 0;
};

// A member property written as the target of Set: the object and the key.
struct PendingSet {
    bool active = false;
    Parsed object;
    std::u16string key;
    uint32_t form = 0;
    std::optional<RecordBuffer> memberName;  // for functions named by an argument
    SourcePos pos;
};

class Parser {
public:
    Parser(std::u16string_view span, SourcePos start, SourceErrors& errors) : c_(span, start), errors_(errors) {}

    bool Whole(RecordBuffer& out) {
        Parsed node;
        c_.SkipSpaces();
        if (!Expression(level::kStatement, node)) return false;
        c_.SkipSpaces();
        if (!c_.AtEnd()) {
            if (c_.Peek() == u')') return Fail(c_.Pos(), "')' without a '(' to close");
            return Fail(c_.Pos(), "expected an operator or the end of the expression, found " + Found());
        }
        if (node.bytes) out = std::move(*node.bytes);
        return true;
    }

private:
    bool Fail(SourcePos pos, std::string message) {
        if (!failed_) errors_.Add(pos, std::move(message));
        failed_ = true;
        return false;
    }

    std::string Found() {
        if (c_.AtEnd()) return "the end of the expression";
        if (c_.Peek() == u'\n' || c_.Peek() == u'\r') return "the end of the line";
        if (IsNameStart(c_.Peek())) {
            SourceCursor probe = c_;
            return "'" + ToUtf8(probe.TakeName()) + "'";
        }
        return "'" + ToUtf8(std::u16string(1, c_.Peek())) + "'";
    }

    // Builds the node of a shape whose sub-nodes are `parts` (in order).
    bool Build(ExprShape& shape, const std::vector<const Parsed*>& parts, SourcePos pos, Parsed& out) {
        int depth = 0;
        for (const Parsed* p : parts) {
            shape.parts.push_back(p->bytes ? std::optional<Region>(p->bytes->AsRegion()) : std::nullopt);
            depth = std::max(depth, p->depth);
        }
        if (depth + 1 > kMaxSourceDepth) {
            return Fail(pos, "expression nested deeper than " + std::to_string(kMaxSourceDepth) + " levels");
        }
        RecordBuffer bytes;
        EncodeShape(shape, bytes);
        out = Parsed{std::move(bytes), depth + 1};
        return true;
    }

    bool Leaf(ExprShape shape, Parsed& out) {
        RecordBuffer bytes;
        EncodeShape(shape, bytes);
        out = Parsed{std::move(bytes), 1};
        return true;
    }

    class Nest {
    public:
        explicit Nest(Parser& p) : p_(p) { ++p_.nesting_; }
        ~Nest() { --p_.nesting_; }
        bool Ok() {
            if (p_.nesting_ <= kMaxRecursion) return true;
            return p_.Fail(p_.c_.Pos(), "expression nested deeper than " + std::to_string(kMaxSourceDepth) + " levels");
        }

    private:
        Parser& p_;
    };

    // Binary operators of `minLevel` and above, grouping to the left.
    bool Expression(int minLevel, Parsed& out) {
        Nest nest(*this);
        if (!nest.Ok() || !Unary(out)) return false;
        while (true) {
            c_.SkipSpaces();
            const OperatorForm* op = OperatorAt(c_.Rest());
            if (op == nullptr || op->level < minLevel || op->level >= level::kPower) return true;
            const SourcePos pos = c_.Pos();
            c_.Advance(op->symbol.size());
            last_ = ToUtf8(op->symbol);
            Parsed right;
            c_.SkipSpaces();
            if (!Expression(op->level + 1, right)) return false;
            Parsed left = std::move(out);
            ExprShape shape;
            shape.kind = op->code;
            if (!Build(shape, {&left, &right}, pos, out)) return false;
        }
    }

    // Unary minus, then a postfix operand and a power that groups to the right.
    bool Unary(Parsed& out) {
        c_.SkipSpaces();
        const SourcePos pos = c_.Pos();
        if (c_.Peek() == u'-' && !NumberAhead(1)) {
            Nest nest(*this);
            c_.Advance();
            last_ = "-";
            Parsed operand;
            if (!nest.Ok() || !Unary(operand)) return false;
            ExprShape shape;
            shape.kind = op::kDifference;
            return Build(shape, {&operand}, pos, out);
        }
        if (!Postfix(out, nullptr)) return false;
        c_.SkipSpaces();
        if (c_.Peek() != u'^') return true;
        Nest nest(*this);
        const SourcePos at = c_.Pos();
        c_.Advance();
        last_ = "^";
        Parsed right;
        if (!nest.Ok() || !Unary(right)) return false;
        Parsed left = std::move(out);
        ExprShape shape;
        shape.kind = op::kPower;
        return Build(shape, {&left, &right}, at, out);
    }

    bool NumberAhead(size_t ahead) {
        const std::u16string_view rest = c_.Rest();
        return NumberStartsAt(rest.substr(std::min(ahead, rest.size())));
    }

    // An operand followed by member calls (obj:Type.Member ...). With
    // `pending`, a last member property followed by '=' is left for Set.
    bool Postfix(Parsed& out, PendingSet* pending) {
        if (!Primary(out)) return false;
        while (true) {
            c_.SkipSpaces();
            if (c_.Peek() != u':') return true;
            const SourcePos pos = c_.Pos();
            c_.Advance();
            const std::u16string type(c_.TakeName());
            if (type.empty()) return Fail(c_.Pos(), "expected a type name after ':' (as in $r:Rect.X)");
            if (!IsMemberType(type)) return Fail(pos, "no member functions for the type '" + ToUtf8(type) + "'");
            if (!c_.Accept(u'.')) return Fail(c_.Pos(), "expected '.' and a member name after '" + ToUtf8(type) + "'");
            const SourcePos memberPos = c_.Pos();
            const std::u16string member(c_.TakeName());
            if (member.empty()) return Fail(c_.Pos(), "expected a member name after '" + ToUtf8(type) + ".'");
            uint32_t form = 0;
            if (!FormWord(form)) return false;
            c_.SkipSpaces();
            MemberUse use = MemberUse::Get;
            if (c_.Peek() == u'(') {
                use = MemberUse::Method;
            } else if (pending != nullptr && c_.Peek() == u'=' && c_.Peek(1) != u'=') {
                use = MemberUse::Set;
            }
            bool named = false;
            const auto key = MemberKey(type, member, use, named);
            if (!key) {
                static constexpr const char* kUse[] = {"method", "property", "settable property"};
                return Fail(memberPos, "'" + ToUtf8(type) + "' has no " + kUse[static_cast<int>(use)] + " '" +
                                           ToUtf8(member) + "'");
            }
            std::optional<RecordBuffer> memberNode;
            if (!named) {
                ExprShape name;
                name.kind = kind::kMember;
                name.text = member;
                memberNode.emplace();
                EncodeShape(name, *memberNode);
            }
            if (use == MemberUse::Set) {
                *pending = PendingSet{true, std::move(out), *key, form, std::move(memberNode), pos};
                return true;
            }
            std::vector<Parsed> args;
            args.push_back(std::move(out));
            if (memberNode) args.push_back(Parsed{std::move(memberNode), 1});
            if (use == MemberUse::Method && !Arguments(args)) return false;
            if (!CheckCount(*key, args.size(), memberPos)) return false;
            if (!CallNode(kind::kFunction, *key, form, args, pos, out)) return false;
        }
    }

    bool FormWord(uint32_t& form) {
        if (!c_.Accept(u'{')) return true;
        c_.SkipSpaces();
        if (!c_.AcceptWord(u"form")) return Fail(c_.Pos(), "expected 'form' and a number after '{'");
        c_.SkipSpaces();
        int64_t value = 0;
        if (!Integer(0, 0xFFFFFFFF, value)) return false;
        c_.SkipSpaces();
        if (!c_.Accept(u'}')) return Fail(c_.Pos(), "'}' expected after the call form");
        form = static_cast<uint32_t>(value);
        return true;
    }

    // "(" arguments ")", appended to `args`.
    bool Arguments(std::vector<Parsed>& args) {
        const SourcePos open = c_.Pos();
        if (!c_.Accept(u'(')) return Fail(c_.Pos(), "'(' expected to open the arguments");
        last_ = "(";
        c_.SkipSpaces();
        if (c_.Accept(u')')) return true;
        while (true) {
            Parsed arg;
            c_.SkipSpaces();
            const SourcePos pos = c_.Pos();
            if (!Expression(level::kStatement, arg)) return false;
            if (!arg.bytes) return Fail(pos, "an argument cannot be left out");
            args.push_back(std::move(arg));
            c_.SkipSpaces();
            if (c_.Accept(u')')) return true;
            if (!c_.Accept(u',')) return Fail(c_.Pos(), "')' expected to close '(' at " + PosText(open));
            last_ = ",";
        }
    }

    bool CheckCount(const std::u16string& key, size_t count, SourcePos pos) {
        const PLX_FunctionBase* f = FindBuiltin(key);
        if (f == nullptr || static_cast<int32_t>(count) <= f->GetArgCount()) return true;
        const int32_t most = f->GetArgCount();
        return Fail(pos, "'" + ToUtf8(key) + "' takes at most " + std::to_string(most) +
                             (most == 1 ? " argument" : " arguments") + ", not " + std::to_string(count));
    }

    bool CallNode(uint32_t kindId, const std::u16string& key, uint32_t form, const std::vector<Parsed>& args,
                  SourcePos pos, Parsed& out) {
        ExprShape shape;
        shape.kind = kindId;
        shape.text = key;
        shape.word = form;
        std::vector<const Parsed*> parts;
        for (const Parsed& a : args) parts.push_back(&a);
        return Build(shape, parts, pos, out);
    }

    bool Primary(Parsed& out) {
        c_.SkipSpaces();
        const SourcePos pos = c_.Pos();
        const char16_t ch = c_.Peek();
        if (ch == u'(') return Group(out);
        if (ch == u'[') return List(out);
        if (ch == u'"') return TextOrQuotedCall(out);
        if (ch == u'$' || ch == u'@' || ch == u'!' || ch == u'#') return Variable(out);
        if (ch == u'.' && IsNameStart(c_.Peek(1))) {
            c_.Advance();
            ExprShape shape;
            shape.kind = kind::kMember;
            shape.text = std::u16string(c_.TakeName());
            return Leaf(std::move(shape), out);
        }
        if (NumberAhead(0) || (ch == u'-' && NumberAhead(1))) return NumberLiteral(out);
        if (IsNameStart(ch)) return Word(out);
        if (c_.AtEnd() || ch == u')' || ch == u',' || ch == u']' || ch == u'}') {
            return Fail(pos, last_.empty() ? "expected an expression" : "expected an operand after '" + last_ + "'");
        }
        return Fail(pos, "expected an operand, found " + Found());
    }

    bool Group(Parsed& out) {
        const SourcePos open = c_.Pos();
        c_.Advance();
        c_.SkipSpaces();
        if (c_.Accept(u')')) {
            out = Parsed{};
            return true;
        }
        last_ = "(";
        if (!Expression(level::kStatement, out)) return false;
        c_.SkipSpaces();
        return c_.Accept(u')') || Fail(c_.Pos(), "')' expected to close '(' at " + PosText(open));
    }

    bool List(Parsed& out) {
        const SourcePos open = c_.Pos();
        c_.Advance();
        last_ = "[";
        std::vector<Parsed> elements;
        c_.SkipSpaces();
        if (!c_.Accept(u']')) {
            while (true) {
                Parsed element;
                if (!Expression(level::kStatement, element)) return false;
                if (!element.bytes) element.bytes.emplace();  // an absent element: an empty record
                elements.push_back(std::move(element));
                c_.SkipSpaces();
                if (c_.Accept(u']')) break;
                if (!c_.Accept(u',')) return Fail(c_.Pos(), "']' expected to close '[' at " + PosText(open));
                last_ = ",";
            }
        }
        ExprShape shape;
        shape.kind = kind::kValueList;
        std::vector<const Parsed*> parts;
        for (const Parsed& e : elements) parts.push_back(&e);
        return Build(shape, parts, open, out);
    }

    bool TextOrQuotedCall(Parsed& out) {
        const SourcePos pos = c_.Pos();
        std::u16string text;
        if (!ReadTextLiteral(c_, text, errors_)) {
            failed_ = true;
            return false;
        }
        if (c_.Peek() != u'(' && c_.Peek() != u'{') {
            ExprShape shape;
            shape.kind = kind::kText;
            shape.text = std::move(text);
            return Leaf(std::move(shape), out);
        }
        uint32_t form = 0;
        std::vector<Parsed> args;
        return FormWord(form) && Arguments(args) && CallNode(kind::kFunction, text, form, args, pos, out);
    }

    bool Variable(Parsed& out) {
        const SourcePos pos = c_.Pos();
        std::u16string name(1, c_.Peek());
        c_.Advance();
        if (c_.Peek() == u'(') {
            const std::u16string_view rest = c_.Rest();
            size_t close = 1;
            while (close < rest.size() && rest[close] != u')' && IsBracketNamePart(rest[close])) ++close;
            if (close >= rest.size() || rest[close] != u')') {
                return Fail(pos, "a variable name in '(' ')' holds no brackets, dots, commas or quotes and ends with ')'");
            }
            name += rest.substr(0, close + 1);
            c_.Advance(close + 1);
        } else {
            const std::u16string_view part = c_.TakeName();
            if (part.empty()) return Fail(pos, "expected a variable name after '" + ToUtf8(name) + "'");
            name += part;
        }
        while (c_.Peek() == u'.' && IsNamePart(c_.Peek(1))) {
            c_.Advance();
            name += u'.';
            while (IsNamePart(c_.Peek())) {
                name += c_.Peek();
                c_.Advance();
            }
        }
        ExprShape shape;
        shape.kind = kind::kVariable;
        shape.text = std::move(name);
        return Leaf(std::move(shape), out);
    }

    bool Number(uint64_t& bits, uint32_t& flags) {
        LiteralError e;
        return ReadNumberLiteral(c_, bits, flags, e) || Fail(e.pos, e.message);
    }

    bool Integer(int64_t low, int64_t high, int64_t& out) {
        LiteralError e;
        return ReadWholeNumber(c_, low, high, out, e) || Fail(e.pos, e.message);
    }

    bool NumberLiteral(Parsed& out) {
        ExprShape shape;
        shape.kind = kind::kNumber;
        return Number(shape.bits, shape.word) && Leaf(std::move(shape), out);
    }

    bool Word(Parsed& out) {
        const SourcePos pos = c_.Pos();
        const std::u16string word(c_.TakeName());
        if (c_.Peek() == u'"') return TypedLiteral(word, pos, out);
        if (word == u"True" || word == u"False") {
            ExprShape shape;
            shape.kind = kind::kBool;
            shape.word = word == u"True" ? 1 : 0;
            return Leaf(std::move(shape), out);
        }
        if (word == u"Empty") {
            ExprShape shape;
            shape.kind = kind::kEmpty;
            return Leaf(std::move(shape), out);
        }
        if (word == u"new") return NewValue(out);
        if (word == u"Set" || word == u"Alias") return Assignment(word == u"Set" ? kind::kSetVar : kind::kAlias, pos, out);
        if (word == u"Add") return AddValue(pos, out);
        if (word == u"Remove") return RemoveVar(pos, out);
        if (word == u"Call") return ScriptCall(pos, out);
        if (word == u"Pattern") return PatternNode(pos, out);
        if (word == u"Number") return ExplicitNumber(out);
        if (word == u"RGB") return Colour(out);
        if (word == u"Handle") return HandleValue(out);
        if (c_.Peek() == u'.' && IsNamePart(c_.Peek(1))) return Enumerated(word, pos, out);
        if (c_.Peek() == u'(' || c_.Peek() == u'{' || (c_.Peek() == u'#' && IsDigit(c_.Peek(1)))) {
            return BuiltinCall(word, pos, out);
        }
        return Fail(pos, "unknown name '" + ToUtf8(word) + "' (a variable is written with its prefix, as $" +
                             ToUtf8(word) + ")");
    }

    bool TypedLiteral(const std::u16string& word, SourcePos pos, Parsed& out) {
        const SourcePos textPos = c_.Pos();
        std::u16string text;
        if (!ReadTextLiteral(c_, text, errors_)) {
            failed_ = true;
            return false;
        }
        ExprShape shape;
        if (word == u"stored") {
            const auto bytes = ReadHexBytes(text);
            if (!bytes) return Fail(textPos, "expected hex digit pairs in stored\"...\"");
            RecordBuffer raw;
            raw.AppendBytes(bytes->data(), bytes->size());
            out = Parsed{std::move(raw), 1};
            return true;
        }
        if (word == u"hex" || word == u"bindata") {
            const auto bytes = ReadHexBytes(text);
            if (!bytes) return Fail(textPos, "expected hex digit pairs in " + ToUtf8(word) + "\"...\"");
            shape.kind = word == u"hex" ? kind::kHex : kind::kBinData;
            shape.bytes = *bytes;
        } else if (word == u"date") {
            const auto seconds = ReadDateText(text);
            if (!seconds) return Fail(textPos, "expected a date as \"YYYY-MM-DD hh:mm:ss\" (UTC) or a count of seconds");
            shape.kind = kind::kDateTime;
            shape.bits = static_cast<uint64_t>(*seconds);
        } else if (word == u"span") {
            const auto seconds = ReadSpanText(text);
            if (!seconds) return Fail(textPos, "expected a time span as \"[-][Dd ]hh:mm:ss\"");
            shape.kind = kind::kTimeSpan;
            shape.bits = static_cast<uint64_t>(*seconds);
        } else if (word == u"var") {
            shape.kind = kind::kVariable;
            shape.text = std::move(text);
        } else if (word == u"member") {
            shape.kind = kind::kMember;
            shape.text = std::move(text);
        } else {
            return Fail(pos, "unknown literal '" + ToUtf8(word) +
                                 "\"...\"': use date, span, hex, bindata, var, member or stored");
        }
        return Leaf(std::move(shape), out);
    }

    bool NewValue(Parsed& out) {
        c_.SkipSpaces();
        const SourcePos pos = c_.Pos();
        const std::u16string name(c_.TakeName());
        const uint32_t k = EmptyValueKind(name);
        if (k == 0) {
            return Fail(pos, "expected Array, NamedData, FileFinder, Workbook, Process, WindowHandle or Solver after 'new'");
        }
        ExprShape shape;
        shape.kind = k;
        return Leaf(std::move(shape), out);
    }

    bool Assignment(uint32_t kindId, SourcePos pos, Parsed& out) {
        Nest nest(*this);
        if (!nest.Ok()) return false;
        PendingSet pending;
        Parsed target;
        const std::string word = kindId == kind::kSetVar ? "Set" : "Alias";
        last_ = word;
        c_.SkipSpaces();
        if (!Postfix(target, kindId == kind::kSetVar ? &pending : nullptr)) return false;
        c_.SkipSpaces();
        if (c_.Peek() != u'=' || c_.Peek(1) == u'=') {
            return Fail(c_.Pos(), "'=' expected after the target of " + word);
        }
        c_.Advance();
        last_ = "=";
        Parsed value;
        c_.SkipSpaces();
        if (!Expression(level::kStatement, value)) return false;
        if (pending.active) {
            if (!value.bytes) return Fail(pos, "the value of a property cannot be left out");
            std::vector<Parsed> args;
            args.push_back(std::move(pending.object));
            if (pending.memberName) args.push_back(Parsed{std::move(pending.memberName), 1});
            args.push_back(std::move(value));
            return CheckCount(pending.key, args.size(), pending.pos) &&
                   CallNode(kind::kFunction, pending.key, pending.form, args, pos, out);
        }
        ExprShape shape;
        shape.kind = kindId;
        return Build(shape, {&target, &value}, pos, out);
    }

    bool AddValue(SourcePos pos, Parsed& out) {
        Nest nest(*this);
        if (!nest.Ok()) return false;
        last_ = "Add";
        Parsed value, target;
        c_.SkipSpaces();
        if (!Expression(level::kStatement, value)) return false;
        c_.SkipSpaces();
        if (!c_.AcceptWord(u"to")) return Fail(c_.Pos(), "'to' expected after the value of Add");
        last_ = "to";
        c_.SkipSpaces();
        if (!Postfix(target, nullptr)) return false;
        ExprShape shape;
        shape.kind = kind::kAddValue;
        return Build(shape, {&target, &value}, pos, out);
    }

    bool RemoveVar(SourcePos pos, Parsed& out) {
        Nest nest(*this);
        if (!nest.Ok()) return false;
        last_ = "Remove";
        Parsed target;
        c_.SkipSpaces();
        if (!Postfix(target, nullptr)) return false;
        ExprShape shape;
        shape.kind = kind::kRemoveVar;
        return Build(shape, {&target}, pos, out);
    }

    bool ScriptCall(SourcePos pos, Parsed& out) {
        c_.SkipSpaces();
        std::u16string name;
        if (c_.Peek() == u'"') {
            if (!ReadTextLiteral(c_, name, errors_)) {
                failed_ = true;
                return false;
            }
        } else {
            name = std::u16string(c_.TakeName());
            if (name.empty()) return Fail(c_.Pos(), "expected the name of a script function after 'Call'");
        }
        std::vector<Parsed> args;
        return Arguments(args) && CallNode(kind::kDynFun, name, 0, args, pos, out);
    }

    bool BuiltinCall(std::u16string key, SourcePos pos, Parsed& out) {
        if (c_.Accept(u'#')) {
            key += u'#';
            while (IsDigit(c_.Peek())) key += c_.Peek(), c_.Advance();
        }
        if (FindBuiltin(key) == nullptr) {
            const auto nearest = NearestBuiltinName(key);
            return Fail(pos, "unknown function '" + ToUtf8(key) + "'" +
                                 (nearest ? "; did you mean '" + ToUtf8(*nearest) + "'?" : ""));
        }
        uint32_t form = 0;
        std::vector<Parsed> args;
        return FormWord(form) && Arguments(args) && CheckCount(key, args.size(), pos) &&
               CallNode(kind::kFunction, key, form, args, pos, out);
    }

    bool Enumerated(const std::u16string& name, SourcePos pos, Parsed& out) {
        c_.Advance();
        std::u16string value;
        while (IsNamePart(c_.Peek())) value += c_.Peek(), c_.Advance();
        const NumberEnum* table = FindLibraryEnumeration(name);
        if (table == nullptr) return Fail(pos, "unknown enumeration '" + ToUtf8(name) + "'");
        int64_t v = 0;
        if (!table->ValueOf(value, v)) return Fail(pos, "'" + ToUtf8(name) + "' has no value '" + ToUtf8(value) + "'");
        ExprShape shape;
        shape.kind = kind::kNumber;
        shape.bits = std::bit_cast<uint64_t>(static_cast<double>(v));
        shape.enumName = name;
        return Leaf(std::move(shape), out);
    }

    // Opens "(" for the value forms written like calls; Close takes ")".
    bool Open(const char* what, SourcePos& open) {
        c_.SkipSpaces();
        open = c_.Pos();
        if (!c_.Accept(u'(')) return Fail(c_.Pos(), std::string("'(' expected after ") + what);
        c_.SkipSpaces();
        return true;
    }
    bool Close(SourcePos open) {
        c_.SkipSpaces();
        if (!c_.Accept(u')')) return Fail(c_.Pos(), "')' expected to close '(' at " + PosText(open));
        return true;
    }
    // ", word" inside a value form; false when the next is not a comma.
    bool NextField(std::u16string& word) {
        c_.SkipSpaces();
        if (!c_.Accept(u',')) return false;
        c_.SkipSpaces();
        word = std::u16string(c_.TakeName());
        c_.SkipSpaces();
        return true;
    }

    bool ExplicitNumber(Parsed& out) {
        SourcePos open;
        ExprShape shape;
        shape.kind = kind::kNumber;
        uint32_t ignored = 0;
        if (!Open("Number", open) || !Number(shape.bits, ignored)) return false;
        std::u16string field;
        while (NextField(field)) {
            const SourcePos pos = c_.Pos();
            int64_t value = 0;
            if (field == u"flags") {
                if (!Integer(0, 0xFFFFFFFF, value)) return false;
                shape.word = static_cast<uint32_t>(value);
            } else if (field == u"enum" && c_.Peek() == u'"') {
                std::u16string name;
                if (!ReadTextLiteral(c_, name, errors_)) {
                    failed_ = true;
                    return false;
                }
                shape.enumName = std::move(name);
            } else {
                return Fail(pos, "expected 'flags' and a number or 'enum' and a text in Number(...)");
            }
        }
        return Close(open) && Leaf(std::move(shape), out);
    }

    bool Colour(Parsed& out) {
        SourcePos open;
        int64_t r = 0, g = 0, b = 0;
        if (!Open("RGB", open) || !Integer(0, 255, r)) return false;
        for (int64_t* part : {&g, &b}) {
            c_.SkipSpaces();
            if (!c_.Accept(u',')) return Fail(c_.Pos(), "RGB takes three numbers from 0 to 255");
            c_.SkipSpaces();
            if (!Integer(0, 255, *part)) return false;
        }
        ExprShape shape;
        shape.kind = kind::kNumber;
        shape.word = numflag::kColour;
        shape.bits = std::bit_cast<uint64_t>(static_cast<double>(r + g * 256 + b * 65536));
        return Close(open) && Leaf(std::move(shape), out);
    }

    bool HandleValue(Parsed& out) {
        SourcePos open;
        int64_t value = 0;
        if (!Open("Handle", open) || !Integer(0, 0xFFFFFFFF, value)) return false;
        ExprShape shape;
        shape.kind = kind::kHandle;
        shape.word = static_cast<uint32_t>(value);
        return Close(open) && Leaf(std::move(shape), out);
    }

    bool PatternNode(SourcePos pos, Parsed& out) {
        SourcePos open;
        if (!Open("Pattern", open)) return false;
        ExprShape shape;
        shape.kind = kind::kRegExp;
        if (IsDigit(c_.Peek())) {
            int64_t type = 0;
            if (!Integer(0, 0xFFFFFFFF, type)) return false;
            shape.word = static_cast<uint32_t>(type);
        } else {
            const SourcePos typePos = c_.Pos();
            shape.word = PatternTypeOfName(c_.TakeName());
            if (shape.word == 0) return Fail(typePos, "expected a pattern type (Literal, Sequence, Class, ...)");
        }
        const bool decimal = shape.word == 14;
        Parsed sub;
        bool hasSub = false;
        std::u16string field;
        std::vector<std::u16string> seen;
        while (NextField(field)) {
            const SourcePos at = c_.Pos();
            if (std::find(seen.begin(), seen.end(), field) != seen.end()) {
                return Fail(at, "'" + ToUtf8(field) + "' given twice");
            }
            seen.push_back(field);
            int64_t value = 0;
            uint32_t ignored = 0;
            if (field == u"flags") {
                if (!Integer(0, 0xFFFFFFFF, value)) return false;
                shape.flat = static_cast<uint32_t>(value);
            } else if ((field == u"n" || field == u"m") && !decimal) {
                if (!Integer(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), value)) return false;
                (field == u"n" ? shape.n : shape.m) = static_cast<uint32_t>(static_cast<int32_t>(value));
            } else if ((field == u"low" || field == u"high") && decimal) {
                if (!Number(field == u"low" ? shape.low : shape.high, ignored)) return false;
            } else if (field == u"text" && c_.Peek() == u'"') {
                if (!ReadTextLiteral(c_, shape.text, errors_)) {
                    failed_ = true;
                    return false;
                }
            } else if (field == u"sub") {
                if (!Expression(level::kStatement, sub)) return false;
                hasSub = sub.bytes.has_value();
            } else {
                return Fail(at, decimal ? "expected flags, low, high, text or sub in Pattern(Decimal, ...)"
                                        : "expected flags, n, m, text or sub in Pattern(...)");
            }
        }
        if (!Close(open)) return false;
        if (!hasSub) return Build(shape, {}, pos, out);
        return Build(shape, {&sub}, pos, out);
    }

    SourceCursor c_;
    SourceErrors& errors_;
    bool failed_ = false;
    int nesting_ = 0;
    std::string last_;  // the last operator or bracket taken, for messages
};

}  // namespace

bool ParseExprSource(std::u16string_view span, SourcePos start, RecordBuffer& out, SourceErrors& errors) {
    RecordBuffer node;
    if (!Parser(span, start, errors).Whole(node)) return false;
    out.AppendBytes(node.Data(), node.Used());
    return true;
}

size_t ExprSpanEnd(std::u16string_view line, size_t from) {
    int depth = 0;
    for (size_t i = from; i < line.size(); ++i) {
        const char16_t ch = line[i];
        if (ch == u'\n' || ch == u'\r') return i;
        if (ch == u'"') {
            for (++i; i < line.size() && line[i] != u'"' && line[i] != u'\n'; ++i) {
                if (line[i] == u'\\') ++i;
            }
            if (i >= line.size() || line[i] == u'\n') return std::min(i, line.size());
            continue;
        }
        if (ch == u'(' || ch == u'[' || ch == u'{') {
            ++depth;
        } else if (ch == u')' || ch == u']' || ch == u'}' || ch == u',') {
            if (depth == 0) return i;
            if (ch != u',') --depth;
        }
    }
    return line.size();
}

}  // namespace ovrix
