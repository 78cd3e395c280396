// The desktop's ANSI code page: the 8-bit encoding of text files without a
// byte order mark, of database statements and values, and of 8-bit texts in
// other programs' memory. The real desktop uses the system's; the simulated
// one uses Windows-1252 (Windows1252.h).
#pragma once

#include <string>
#include <string_view>

namespace ovrix {

class CodePage {
public:
    virtual ~CodePage() = default;

    virtual std::u16string FromAnsi(std::string_view bytes) = 0;
    // What the code page cannot hold becomes '?'. `threadCodePage` asks for
    // the playback thread's code page instead of the system's (file names
    // handed to a library that reads them so).
    virtual std::string ToAnsi(std::u16string_view text, bool threadCodePage) = 0;
};

}  // namespace ovrix
