// Windows-1252, the code page of a Western European system: the simulated
// desktop's ANSI code page for files, databases and other processes' memory.
#pragma once

#include <string>
#include <string_view>

namespace ovrix {

// The five bytes the code page leaves undefined read as the control
// characters of the same number, as Windows reads them; characters it cannot
// hold are written as '?'.
std::u16string FromWindows1252(std::string_view bytes);
std::string ToWindows1252(std::u16string_view text);

}  // namespace ovrix
