// The system's ANSI code page, and the playback thread's where a caller asks
// for it.
#pragma once

#include "platform/CodePage.h"

namespace ovrix::win32 {

class Win32CodePage final : public CodePage {
public:
    std::u16string FromAnsi(std::string_view bytes) override;
    std::string ToAnsi(std::u16string_view text, bool threadCodePage) override;
};

}  // namespace ovrix::win32
