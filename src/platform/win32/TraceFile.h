// The action trace of the real player goes to the file named by the
// environment variable OVRIX_TRACE, one UTF-8 line per action, appended and
// flushed line by line so the file is complete up to the last action even
// when the process is killed. Without the variable nothing is traced.
#pragma once

#include "platform/Trace.h"

namespace ovrix::win32 {

Trace TraceFromEnvironment();

}  // namespace ovrix::win32
