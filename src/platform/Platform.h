// The desktop the player plays on, as the set of its facets: one narrow
// interface per family of calls (Facet.h says how a facet is written). Two
// platforms exist: the real Windows desktop (platform/win32) and a
// deterministic simulated desktop with a virtual clock (platform/sim).
// Nothing outside those two folders talks to the operating system.
//
// The player's code does not hold a Platform: it holds the Desktop
// (Desktop.h), which hands out the same facets with their traced calls bound
// to the action trace.
#pragma once

#include "platform/Automation.h"
#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/Clock.h"
#include "platform/Databases.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/ImageFiles.h"
#include "platform/Input.h"
#include "platform/Processes.h"
#include "platform/ProgressWindow.h"
#include "platform/Registry.h"
#include "platform/Screen.h"
#include "platform/ScriptWindows.h"
#include "platform/Sound.h"
#include "platform/System.h"
#include "platform/Web.h"
#include "platform/Windows.h"

namespace ovrix {

class Platform {
public:
    virtual ~Platform() = default;

    virtual Clock& GetClock() = 0;
    virtual Input& GetInput() = 0;
    virtual Screen& GetScreen() = 0;
    virtual Clipboard& GetClipboard() = 0;
    virtual Dialogs& GetDialogs() = 0;
    virtual Files& GetFiles() = 0;
    virtual ImageFiles& GetImageFiles() = 0;
    virtual System& GetSystem() = 0;
    virtual Windows& GetWindows() = 0;
    virtual ProgressWindow& GetProgressWindow() = 0;
    virtual ScriptWindows& GetScriptWindows() = 0;
    virtual Automation& GetAutomation() = 0;
    virtual Registry& GetRegistry() = 0;
    virtual Web& GetWeb() = 0;
    virtual Sound& GetSound() = 0;
    virtual Processes& GetProcesses() = 0;
    virtual Databases& GetDatabases() = 0;
    virtual CodePage& GetCodePage() = 0;
};

}  // namespace ovrix
