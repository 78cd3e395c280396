// The speaker and sound files. Both play to the end before the call
// returns. Traced as
//   beep <freq> <ms>
//   sound "<file>"
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Facet.h"

namespace ovrix {

class Sound : public TracedFacet {
public:
    // Traced.
    bool Beep(uint32_t freq, uint32_t ms);
    bool PlaySound(std::u16string_view file);

protected:
    virtual bool DoBeep(uint32_t freq, uint32_t ms) = 0;
    virtual bool DoPlaySound(std::u16string_view file) = 0;
};

}  // namespace ovrix
