#include "platform/win32/AppState.h"

namespace ovrix::win32 {

AppState& App() {
    static AppState state;
    return state;
}

}  // namespace ovrix::win32
