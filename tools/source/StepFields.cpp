#include "StepFields.h"

#include <array>

#include "container/Tags.h"
#include "container/Text.h"
#include "script/StoredExpr.h"

namespace ovrix {

namespace {

constexpr FieldRow Always(const char* code, std::u16string_view name, FieldType type, int64_t fallback = 0) {
    return FieldRow{.tag = MakeTag(code), .name = name, .type = type, .always = true, .numberDefault = fallback};
}

constexpr FieldRow AlwaysText(const char* code, std::u16string_view name, std::u16string_view fallback = u"") {
    return FieldRow{.tag = MakeTag(code), .name = name, .type = FieldType::Text, .always = true,
                    .textDefault = fallback};
}

constexpr FieldRow Optional(const char* code, std::u16string_view name, FieldType type) {
    return FieldRow{.tag = MakeTag(code), .name = name, .type = type};
}

constexpr FieldRow Enumerated(const char* code, std::u16string_view name, std::span<const EnumName> names,
                              int64_t fallback = 0) {
    return FieldRow{.tag = MakeTag(code), .name = name, .type = FieldType::Enum, .always = true,
                    .numberDefault = fallback, .names = names};
}

constexpr FieldRow Counted(const char* code, std::u16string_view name, std::u16string_view countOf) {
    return FieldRow{.tag = MakeTag(code), .name = name, .type = FieldType::U32, .always = true, .countOf = countOf};
}

// The first row of an indexed group ('A' + i and the like).
constexpr FieldRow Item(char letter, std::u16string_view name, FieldType type) {
    return FieldRow{.tag = static_cast<uint8_t>(letter), .name = name, .type = type, .indexing = Indexing::Letter,
                    .startsItem = true};
}

// The tag of a further picture's record with digit 0: 'BMP0' in file byte order.
constexpr uint32_t DigitBase(const char* code) {
    return static_cast<uint32_t>(code[0]) | static_cast<uint32_t>(code[1]) << 8 |
           static_cast<uint32_t>(code[2]) << 16 | 0x30000000u;
}

constexpr FieldRow kSub{.tag = tag::kSub, .name = u"sub", .type = FieldType::Sub};

constexpr FieldRow kHeader[] = {
    {.tag = tag::kName, .name = u"name", .type = FieldType::Text},
    Always("DLY", u"delay", FieldType::U32, 1000),
    Always("DIS", u"disabled", FieldType::Flag),
};

constexpr EnumName kButtons[] = {{0, u"left"}, {1, u"middle"}, {2, u"right"}};
constexpr EnumName kClicks[] = {{0, u"single"}, {1, u"double"}};
constexpr EnumName kMouseActions[] = {{1, u"leftDown"},   {2, u"leftUp"},   {3, u"rightDown"},
                                      {4, u"rightUp"},    {5, u"middleDown"}, {6, u"middleUp"},
                                      {7, u"wheelDown"},  {8, u"wheelUp"}};
constexpr EnumName kLoopKinds[] = {{0, u"count"}, {1, u"time"}, {3, u"while"}, {4, u"range"}, {5, u"rangeBelow"}};

constexpr FieldRow kOpenFile[] = {AlwaysText("FILE", u"file"), Always("ADV", u"advanced", FieldType::Flag),
                                  AlwaysText("PARA", u"parameters"), AlwaysText("STYL", u"style")};
constexpr FieldRow kSearchPic[] = {
    Optional("BMPN", u"picture", FieldType::Picture),
    Optional("BMP", u"bitmapFile", FieldType::Picture),
    Always("SML", u"similarity", FieldType::U32, 95),
    AlwaysText("CMT", u"comment"),
    {.tag = DigitBase("BMP"), .name = u"morePicture", .type = FieldType::Picture,
     .indexing = Indexing::DigitSuffix, .startsItem = true},
    {.tag = DigitBase("SML"), .name = u"moreSimilarity", .type = FieldType::U32, .always = true,
     .numberDefault = 95, .indexing = Indexing::DigitSuffix},
    {.tag = DigitBase("CMT"), .name = u"moreComment", .type = FieldType::Text, .always = true,
     .indexing = Indexing::DigitSuffix},
    Always("TOUT", u"timeout", FieldType::U32, 10),
    AlwaysText("FDO", u"found", u"move click"),
    AlwaysText("TDO", u"timedOut", u"stop tip"),
    Always("IF", u"ifFound", FieldType::Flag),
    Always("ATM", u"moveAway", FieldType::Flag, 1),
    AlwaysText("TUNT", u"unit", u"sec"),
    Optional("WHER", u"where", FieldType::Text),
    Always("RGNL", u"left", FieldType::I32),
    Always("RGNT", u"top", FieldType::I32),
    Always("RGNR", u"right", FieldType::I32),
    Always("RGNB", u"bottom", FieldType::I32),
    kSub,
};
constexpr FieldRow kRelativeMouse[] = {Optional("XOFS", u"x", FieldType::Expr), Optional("YOFS", u"y", FieldType::Expr),
                                       Optional("OFSX", u"oldX", FieldType::I32),
                                       Optional("OFSY", u"oldY", FieldType::I32)};
constexpr FieldRow kMouseClick[] = {Enumerated("MBTN", u"button", kButtons), Enumerated("CLKT", u"click", kClicks)};
constexpr FieldRow kBlockOnly[] = {kSub};
constexpr FieldRow kForLoop[] = {Enumerated("LPTP", u"loop", kLoopKinds),
                                 Always("TO", u"count", FieldType::U32, 3),
                                 AlwaysText("TIME", u"duration"),
                                 Optional("CODE", u"condition", FieldType::Expr),
                                 Optional("VAR", u"variable", FieldType::Text),
                                 Optional("VAL1", u"from", FieldType::Expr),
                                 Optional("VAL2", u"to", FieldType::Expr),
                                 kSub};
constexpr FieldRow kMousePos[] = {Optional("XPOS", u"x", FieldType::Expr), Optional("YPOS", u"y", FieldType::Expr),
                                  Optional("X", u"oldX", FieldType::I32), Optional("Y", u"oldY", FieldType::I32)};
constexpr FieldRow kMsgBox[] = {AlwaysText("MSG", u"message")};
constexpr FieldRow kMouseEvent[] = {Enumerated("EVT", u"action", kMouseActions),
                                    Always("SCRL", u"wheel", FieldType::U32, 100)};
constexpr FieldRow kKeystroke[] = {Always("CTRL", u"ctrl", FieldType::Flag), Always("SHFT", u"shift", FieldType::Flag),
                                   Always("ALT", u"alt", FieldType::Flag),   Always("WIN", u"win", FieldType::Flag),
                                   Counted("NKEY", u"keyCount", u"keys"),    Optional("KEY", u"keys", FieldType::Bytes)};
constexpr FieldRow kInputText[] = {AlwaysText("TEXT", u"text"), Always("PST", u"paste", FieldType::Flag, 1)};
constexpr FieldRow kKey[] = {Always("KEY", u"key", FieldType::U32)};
constexpr FieldRow kPlayRecord[] = {Optional("REC", u"recording", FieldType::Bytes),
                                    Always("REL", u"relative", FieldType::Flag),
                                    {.tag = MakeTag("SPD"), .name = u"speed", .type = FieldType::F64, .always = true,
                                     .realDefault = 100.0}};
constexpr FieldRow kShutdown[] = {AlwaysText("DO", u"action", u"Shutdown"), Always("TIP", u"countdown", FieldType::Flag, 1),
                                  Always("WAIT", u"seconds", FieldType::U32, 60)};
constexpr FieldRow kPlayScript[] = {AlwaysText("FILE", u"script"), Item('A', u"arg", FieldType::Expr),
                                    Optional("RVAL", u"result", FieldType::Expr),
                                    Always("COPY", u"copy", FieldType::Flag)};
constexpr FieldRow kWait[] = {Always("WAIT", u"ms", FieldType::I64, 1000), Always("RAND", u"random", FieldType::Flag)};
constexpr FieldRow kGoTo[] = {AlwaysText("Lbl", u"label")};
constexpr FieldRow kWindowTitle[] = {AlwaysText("TITL", u"title")};
constexpr FieldRow kWaitWin[] = {Always("APPR", u"appear", FieldType::Flag, 1),
                                 AlwaysText("TITL", u"title"),
                                 Always("TOUT", u"timeout", FieldType::U32, 10),
                                 AlwaysText("TUNT", u"unit", u"sec"),
                                 Always("SWIT", u"switchTo", FieldType::Flag, 1),
                                 Always("IF", u"ifFound", FieldType::Flag),
                                 kSub};
constexpr FieldRow kPlayRandom[] = {Item('F', u"script", FieldType::Text),
                                    {.tag = 'P', .name = u"weight", .type = FieldType::U32, .always = true,
                                     .numberDefault = 1, .indexing = Indexing::Letter}};
constexpr FieldRow kPosRandom[] = {Always("RGNL", u"left", FieldType::I32), Always("RGNT", u"top", FieldType::I32),
                                   Always("RGNR", u"right", FieldType::I32), Always("RGNB", u"bottom", FieldType::I32)};
constexpr FieldRow kCode[] = {Optional("CODE", u"code", FieldType::Expr)};
constexpr FieldRow kIfVar[] = {Optional("CODE", u"condition", FieldType::Expr), kSub};
constexpr FieldRow kOpenWeb[] = {AlwaysText("URL", u"url")};
constexpr FieldRow kCopyFile[] = {AlwaysText("SRC", u"from"), AlwaysText("DEST", u"to")};
constexpr FieldRow kDelFile[] = {AlwaysText("FILE", u"file")};
// A file test always holds an expression: records without one load as the
// older plain file name, an empty one when that is missing too.
std::vector<uint8_t> EmptyTextNode() { return TextExpr(u"").Bytes(); }
constexpr FieldRow kIfFileExist[] = {{.tag = tag::kCode, .name = u"file", .type = FieldType::Expr, .always = true,
                                      .makeDefault = EmptyTextNode},
                                     Optional("FILE", u"fileText", FieldType::Text), kSub};
constexpr FieldRow kExitScript[] = {Optional("CODE", u"result", FieldType::Expr)};
constexpr FieldRow kComment[] = {AlwaysText("CMT", u"text")};
constexpr FieldRow kFunStart[] = {AlwaysText("FN", u"function"), Always("RetT", u"returns", FieldType::U32),
                                  Counted("NArg", u"argCount", u"arg"), Item('A', u"arg", FieldType::Arg), kSub};
constexpr FieldRow kGetScriptArg[] = {AlwaysText("VAR", u"variable"), Optional("ARG", u"index", FieldType::Expr)};
constexpr FieldRow kSwitch[] = {Optional("CODE", u"value", FieldType::Expr), kSub};
constexpr FieldRow kSwitchCase[] = {Item('C', u"case", FieldType::Case), kSub};
constexpr FieldRow kMsgHandler[] = {Optional("WIN", u"window", FieldType::Expr),
                                    Always("MSG", u"message", FieldType::U32), AlwaysText("WMH", u"handler")};
constexpr FieldRow kCmdHandler[] = {Optional("WIN", u"window", FieldType::Expr),
                                    Optional("CMD", u"control", FieldType::Expr), AlwaysText("WCH", u"handler")};
constexpr FieldRow kCreateThread[] = {AlwaysText("TS", u"script"), Optional("WIN", u"window", FieldType::Expr),
                                      Optional("DATA", u"data", FieldType::Expr)};

constexpr EnumName kRepeatWords[] = {{0xFFFFFFFFu, u"timed"}};
constexpr EnumName kModifierBits[] = {{1, u"shift"}, {2, u"ctrl"}, {4, u"alt"}, {8, u"extended"}};

constexpr FieldRow kSettings[] = {
    Optional("ROOT", u"root", FieldType::Text),
    Optional("NOSK", u"noStopKey", FieldType::Flag),
    Optional("NOPK", u"noPauseKey", FieldType::Flag),
    Optional("HKSK", u"stopKey", FieldType::U32),
    {.tag = MakeTag("HKSM"), .name = u"stopModifiers", .type = FieldType::Bits, .names = kModifierBits},
    Optional("HKPK", u"pauseKey", FieldType::U32),
    {.tag = MakeTag("HKPM"), .name = u"pauseModifiers", .type = FieldType::Bits, .names = kModifierBits},
    Optional("NSTS", u"startHidden", FieldType::Flag),
    Optional("SHWP", u"showWhenPaused", FieldType::Flag),
    {.tag = MakeTag("REP"), .name = u"repeat", .type = FieldType::Enum, .names = kRepeatWords},
    Optional("RTM", u"runTime", FieldType::I64),
};

constexpr StepForm kForms[] = {
    {1, u"OpenFile", kOpenFile},
    {2, u"SearchPic", kSearchPic},
    {3, u"DragMouse", kRelativeMouse},
    {4, u"MoveMouse", kRelativeMouse},
    {5, u"MouseClick", kMouseClick},
    {6, u"Else", kBlockOnly},
    {7, u"EndIf", {}},
    {8, u"ForLoop", kForLoop},
    {9, u"Next", {}},
    {10, u"ContinueFor", {}},
    {11, u"ExitFor", {}},
    {12, u"MousePos", kMousePos},
    {13, u"MsgBox", kMsgBox},
    {14, u"MouseEvent", kMouseEvent},
    {15, u"Keystroke", kKeystroke},
    {16, u"InputText", kInputText},
    {17, u"KeyDown", kKey},
    {18, u"KeyUp", kKey},
    {19, u"PlayRecord", kPlayRecord},
    {20, u"Shutdown", kShutdown},
    {23, u"PlayScript", kPlayScript},
    {24, u"Wait", kWait},
    {25, u"Label", {}},
    {26, u"GoTo", kGoTo},
    {27, u"CloseWin", kWindowTitle},
    {28, u"SwitchWin", kWindowTitle},
    {29, u"WaitWin", kWaitWin},
    {30, u"ResetScript", {}},
    {31, u"PlayRandom", kPlayRandom},
    {32, u"PosRandom", kPosRandom},
    {33, u"SetVar", kCode},
    {34, u"CallFun", kCode},
    {35, u"AddValue", kCode},
    {36, u"IfVar", kIfVar},
    {37, u"OpenWeb", kOpenWeb},
    {38, u"CopyFile", kCopyFile},
    {39, u"DelFile", kDelFile},
    {40, u"IfFileExist", kIfFileExist},
    {41, u"StopScript", {}},
    {42, u"ExitScript", kExitScript},
    {43, u"Comment", kComment},
    {44, u"RemoveVar", kCode},
    {45, u"CustomFun", kCode},
    {46, u"FunStart", kFunStart, 0},
    {47, u"FunEnd", {}},
    {48, u"Alias", kCode},
    {49, u"GetScriptArg", kGetScriptArg},
    {50, u"Switch", kSwitch},
    {51, u"EndSwitch", {}},
    {52, u"SwitchCase", kSwitchCase},
    {53, u"SwitchDefault", kBlockOnly},
    {54, u"SetWinMsgHandler", kMsgHandler},
    {55, u"SetWinCmdHandler", kCmdHandler},
    {57, u"CreateThread", kCreateThread},
};

}  // namespace

uint32_t FieldRow::TagFor(uint32_t index) const {
    switch (indexing) {
        case Indexing::Letter: return IndexedTag(static_cast<char>(tag), index);
        case Indexing::DigitSuffix: return tag + ((index + 1) << 24);
        case Indexing::None: break;
    }
    return tag;
}

std::optional<uint32_t> FieldRow::IndexOf(uint32_t t) const {
    switch (indexing) {
        case Indexing::Letter:
            if (t >> 24 != tag) return std::nullopt;
            return t & 0xFFFFFFu;
        case Indexing::DigitSuffix: {
            if ((t & 0xFFFFFFu) != (tag & 0xFFFFFFu)) return std::nullopt;
            const uint32_t digit = t >> 24;
            if (digit < 0x31 || digit > 0x39) return std::nullopt;
            return digit - 0x31;
        }
        case Indexing::None: break;
    }
    return t == tag ? std::optional<uint32_t>(0) : std::nullopt;
}

size_t StepForm::RowCount() const { return std::size(kHeader) + rows.size(); }

const FieldRow& StepForm::Row(size_t i) const {
    return i < std::size(kHeader) ? kHeader[i] : rows[i - std::size(kHeader)];
}

const FieldRow* StepForm::RowNamed(std::u16string_view name) const {
    for (size_t i = 0; i < RowCount(); ++i) {
        if (Row(i).name == name) return &Row(i);
    }
    return nullptr;
}

std::span<const FieldRow> SettingRows() { return kSettings; }

std::span<const StepForm> AllStepForms() { return kForms; }

const StepForm* FindStepForm(uint32_t typeId) {
    for (const StepForm& form : kForms) {
        if (form.typeId == typeId) return &form;
    }
    return nullptr;
}

const StepForm* FindStepFormByWord(std::u16string_view word) {
    for (const StepForm& form : kForms) {
        if (EqualsNoCase(form.word, word)) return &form;
    }
    return nullptr;
}

}  // namespace ovrix
