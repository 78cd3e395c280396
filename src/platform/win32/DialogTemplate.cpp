#include "platform/win32/DialogTemplate.h"

namespace ovrix::win32 {

namespace {

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kStaticAtom = 0x0082;

}  // namespace

DialogTemplate::DialogTemplate(std::wstring_view caption, int width, int height, int points, DWORD style) {
    Word(1);       // dlgVer
    Word(0xFFFF);  // signature: extended template
    Dword(0);      // helpID
    Dword(0);      // exStyle
    Dword(style | DS_SETFONT);
    countAt_ = words_.size();
    Word(0);  // cDlgItems, counted as items are added
    Word(0);  // x
    Word(0);  // y
    Word(static_cast<WORD>(width));
    Word(static_cast<WORD>(height));
    Word(0);  // no menu
    Word(0);  // the dialog class
    Text(caption);
    Word(static_cast<WORD>(points));
    Word(FW_NORMAL);
    Word(0x0100);  // not italic (low byte); DEFAULT_CHARSET (high byte), as the resource compiler writes
    Text(L"MS Shell Dlg");
}

void DialogTemplate::Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
}

void DialogTemplate::Text(std::wstring_view text) {
    for (const wchar_t c : text) Word(static_cast<WORD>(c));
    Word(0);
}

void DialogTemplate::AlignDword() {
    if (words_.size() % 2 != 0) Word(0);
}

void DialogTemplate::AddItem(int id, int x, int y, int width, int height, DWORD style) {
    AlignDword();
    ++words_[countAt_];
    Dword(0);  // helpID
    Dword(0);  // exStyle
    Dword(style | WS_CHILD | WS_VISIBLE);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(width));
    Word(static_cast<WORD>(height));
    Dword(static_cast<DWORD>(id));
}

void DialogTemplate::Add(std::wstring_view className, std::wstring_view text, int id, int x, int y, int width,
                         int height, DWORD style) {
    AddItem(id, x, y, width, height, style);
    Text(className);
    Text(text);
    Word(0);  // no creation data
}

void DialogTemplate::AddButton(std::wstring_view text, int id, int x, int y, int width, int height, DWORD style) {
    AddItem(id, x, y, width, height, style);
    Word(0xFFFF);
    Word(kButtonAtom);
    Text(text);
    Word(0);
}

void DialogTemplate::AddStatic(std::wstring_view text, int id, int x, int y, int width, int height, DWORD style) {
    AddItem(id, x, y, width, height, style);
    Word(0xFFFF);
    Word(kStaticAtom);
    Text(text);
    Word(0);
}

}  // namespace ovrix::win32
