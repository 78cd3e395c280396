// Dialog templates built in memory, for the dialogs whose layout the code
// chooses at run time (the two forms of the selection list) and for those
// that need a control class no resource script names (the parameter grid).
// The bytes are an extended template (DLGTEMPLATEEX with DLGITEMTEMPLATEEX
// items), every item DWORD-aligned as the dialog manager requires.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/win32/WinApi.h"

namespace ovrix::win32 {

class DialogTemplate {
public:
    // A dialog of `width` x `height` dialog units with a caption and the
    // "MS Shell Dlg" font of `points` points.
    DialogTemplate(std::wstring_view caption, int width, int height, int points, DWORD style);

    // A control of a named window class ("Edit", "ComboBox", "SysListView32").
    void Add(std::wstring_view className, std::wstring_view text, int id, int x, int y, int width, int height,
             DWORD style);
    // The predefined classes, by their atoms.
    void AddButton(std::wstring_view text, int id, int x, int y, int width, int height, DWORD style);
    void AddStatic(std::wstring_view text, int id, int x, int y, int width, int height, DWORD style);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void AddItem(int id, int x, int y, int width, int height, DWORD style);
    void Word(WORD value) { words_.push_back(value); }
    void Dword(DWORD value);
    void Text(std::wstring_view text);
    void AlignDword();

    // Words keep the whole template 2-byte aligned; items start on 4 bytes.
    std::vector<WORD> words_;
    size_t countAt_ = 0;
};

}  // namespace ovrix::win32
