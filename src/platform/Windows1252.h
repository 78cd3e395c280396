// Windows-1252, the code page of a Western European system: the simulated
// desktop's ANSI code page for files, databases and other processes' memory.
#pragma once

#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace ovrix {

// The five bytes the code page leaves undefined read as the control
// characters of the same number, as Windows reads them; characters it cannot
// hold are written as '?'.
std::u16string FromWindows1252(std::string_view bytes);
std::string ToWindows1252(std::u16string_view text);

// The simulated desktop's code page; it has no thread code page of its own.
class Windows1252CodePage final : public CodePage {
public:
    std::u16string FromAnsi(std::string_view bytes) override { return FromWindows1252(bytes); }
    std::string ToAnsi(std::u16string_view text, bool /*threadCodePage*/) override { return ToWindows1252(text); }
};

}  // namespace ovrix
