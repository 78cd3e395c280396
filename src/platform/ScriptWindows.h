// The windows a script builds for itself: top-level windows and dialogs with
// buttons, edits, statics, picture boxes, list controls and progress bars.
// They are ordinary windows of the desktop (the Windows facet finds and acts
// on them too); this facet makes them, keeps what the script gave each of
// them (its kind, its colours, its modal state and result, its handler
// scripts) and runs their procedures' share that the player owns: handing a
// message or command to the handler script installed for it.
//
// A window's record lives from its creation until the window is destroyed,
// however that happens; its handlers die with it. Handlers run on the thread
// that made the window, inside its message dispatch, so a handler that waits
// lets further messages through and handlers nest.
//
// Traced:
//   scriptwindow create "<title>" <kind>     a window or control made
//   scriptwindow end "<title>" <result>      EndWindow gave the window its result
//   handler <message|command> "<title>" <n>  a handler script starts
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Facet.h"
#include "platform/Picture.h"
#include "platform/Windows.h"

namespace ovrix {

enum class ScriptWindowKind : uint8_t { kWindow, kDialog, kButton, kEdit, kStatic, kPictureBox, kListCtrl, kProgressBar };

// The word the trace names a kind by ("window", "listctrl", ...).
std::string_view KindName(ScriptWindowKind kind);

inline constexpr uint32_t kWmCommand = 0x0111;
inline constexpr uint32_t kWsChild = 0x40000000;
inline constexpr uint32_t kWsVisible = 0x10000000;

struct ScriptWindowColors {
    uint32_t text = 0x0;
    uint32_t background = 0xFFFFFF;
    uint32_t textBackground = 0xFFFFFF;
};

struct ScriptWindowRequest {
    ScriptWindowKind kind = ScriptWindowKind::kWindow;
    std::u16string text;                    // caption or control text
    std::optional<int32_t> x, y;            // none: the system's default place
    std::optional<int32_t> width, height;   // none: the system's default size
    uint32_t style = 0;                     // a control is made a visible child on top
    WindowId parent = kNoWindow;
    int32_t id = 0;                         // the facet chooses one for a control without
    VBmp image;                             // what a picture box shows
};

// A handler script as the engine hands it in. `numbers` follow the window
// value in its argument list: the message and its two parameters, or the
// command id. Answers the script's result as a number.
class ScriptHandler {
public:
    virtual ~ScriptHandler() = default;
    virtual int64_t Run(WindowId window, std::span<const int64_t> numbers) = 0;
};

class ScriptWindows : public TracedFacet {
public:
    // Makes the window; kNoWindow when the system refuses (or a parent is
    // given that is no window).
    WindowId Create(const ScriptWindowRequest& request);
    // Whether the handle is a live window this facet made.
    bool IsScriptWindow(WindowId window) const { return records_.count(window) != 0; }

    // The modal state: RunModalWindow sets the running flag and waits for
    // End (or for the window to go) to clear it.
    void BeginModal(WindowId window);
    bool ModalRunning(WindowId window) const;
    void End(WindowId window, int32_t result);
    int32_t Result(WindowId window) const;

    // Installing a null handler removes the entry.
    void SetMessageHandler(WindowId window, uint32_t message, std::shared_ptr<ScriptHandler> handler);
    void SetCommandHandler(WindowId window, uint32_t commandId, std::shared_ptr<ScriptHandler> handler);
    // The script's part of a window procedure: the message handler's result,
    // 0 after a command handler, or nullopt when no handler takes the
    // message and the default processing is due.
    std::optional<int64_t> Deliver(WindowId window, uint32_t message, int64_t wParam, int64_t lParam);

    // Each colour given replaces the window's; the window is then repainted.
    void SetColors(WindowId window, std::optional<uint32_t> text, std::optional<uint32_t> background,
                   std::optional<uint32_t> textBackground);
    ScriptWindowColors Colors(WindowId window) const;

    void Destroy(WindowId window);
    // Every window this facet made, at the end of playback.
    void DestroyAll();

    // Plain calls on a script window (or any window, where the system allows).
    virtual bool IsEnabled(WindowId window) = 0;
    virtual void Enable(WindowId window, bool enable) = 0;
    // As GetParent answers: a control's parent, a dialog's owning window.
    virtual WindowId ParentOf(WindowId window) = 0;
    virtual WindowId ActiveWindow() = 0;
    virtual void SetActive(WindowId window) = 0;
    // RedrawWindow with invalidate, erase and update now.
    virtual void Redraw(WindowId window) = 0;
    // InvalidateRect of the whole window with erase.
    virtual void Repaint(WindowId window) = 0;
    virtual int64_t DefaultProcessing(WindowId window, uint32_t message, int64_t wParam, int64_t lParam) = 0;
    virtual int32_t ControlId(WindowId window) = 0;

    virtual bool GetCheck(WindowId button) = 0;
    virtual void SetCheck(WindowId button, bool check) = 0;

    virtual void ListSetExtendedStyle(WindowId list, uint32_t style) = 0;
    virtual void ListInsertColumn(WindowId list, int32_t column, std::u16string_view heading, uint32_t format,
                                  int32_t width) = 0;
    virtual void ListInsertItem(WindowId list, int32_t item, std::u16string_view text) = 0;
    virtual void ListSetItemText(WindowId list, int32_t item, int32_t subItem, std::u16string_view text) = 0;
    virtual std::u16string ListGetItemText(WindowId list, int32_t item, int32_t subItem) = 0;
    virtual int32_t ListItemCount(WindowId list) = 0;
    virtual void ListSetCheck(WindowId list, int32_t item, bool check) = 0;
    virtual bool ListGetCheck(WindowId list, int32_t item) = 0;
    virtual void ListEnsureVisible(WindowId list, int32_t item) = 0;
    virtual void ListSelect(WindowId list, int32_t item, bool select, bool unselectOthers) = 0;
    // The next selected item after `from` (-1: from the start); -1 when none.
    virtual int32_t ListNextSelected(WindowId list, int32_t from) = 0;

    virtual void ProgressSetRange(WindowId bar, int32_t lower, int32_t upper) = 0;
    virtual int32_t ProgressPos(WindowId bar) = 0;
    virtual std::pair<int32_t, int32_t> ProgressRange(WindowId bar) = 0;
    virtual void ProgressSetPos(WindowId bar, int32_t pos) = 0;
    virtual void ProgressStep(WindowId bar, int32_t delta) = 0;

protected:
    // The implementations: make the window with `request.id` final, and
    // destroy it. DoDestroy calls Forget through the window's destruction.
    virtual WindowId DoCreate(const ScriptWindowRequest& request) = 0;
    virtual void DoDestroy(WindowId window) = 0;
    virtual std::u16string Title(WindowId window) = 0;
    virtual bool Exists(WindowId window) = 0;
    // The window is gone: its record and handlers die.
    void Forget(WindowId window) { records_.erase(window); }

private:
    struct Record {
        ScriptWindowKind kind = ScriptWindowKind::kWindow;
        ScriptWindowColors colors;
        bool running = false;
        int32_t result = 0;
        std::map<uint32_t, std::shared_ptr<ScriptHandler>> messages;
        std::map<uint32_t, std::shared_ptr<ScriptHandler>> commands;
    };
    Record* Find(WindowId window);
    const Record* Find(WindowId window) const;
    int64_t RunHandler(std::string_view what, WindowId window, uint32_t number, std::shared_ptr<ScriptHandler> handler,
                       std::span<const int64_t> numbers);

    std::map<WindowId, Record> records_;
    int32_t nextControlId_ = 1001;
};

}  // namespace ovrix
