# Section 5 of run_wine_tests.sh (sourced by it, inside its Wine environment,
# after input_replay.sh, whose helpers it uses): the window steps and
# functions on real windows, in one player run of the "windows" image.
#
#   notepad   a system step opens Notepad on a file of its own; Wait Window
#             waits for it, Switch Window brings it to the front, a text step
#             types into it; FindWindow, FindSubWindow and Win_GetText read
#             the text back and the script tests it; ListWindows tells it by
#             its process's executable name; its modified flag is
#             cleared, Close Window closes it and an "If" Wait Window sees it go
#   target    the controls of ovrix-wine-target's window, which Notepad lacks:
#             FindSubWindow searching a child's children, Win_GetText of 2,000
#             characters, GetRectInParent, SendString, Win_SetText,
#             SetWindowPos, SetWindowSize and ShowWindow, checked from the
#             values the script reports and, from outside, by the probe
#
# The script reports what it read as clipboard texts "key=value", one trace
# line each. Uses from the caller: WINE, WINEPREFIX, WORK, NATIVE, WIN64,
# PLAYER64, pass, fail, probe, wait_for, has_line, start_player,
# finish_player, player_ended.

TARGET_EXE=$WIN64/tests/ovrix-wine-target.exe
WINDOWS_FILE=ovrix-windows.txt
WINDOWS_NOTEPAD="$WINDOWS_FILE - Notepad"


check_reported() { expect_reported windows "$@"; }  # LABEL KEY VALUE

check_notepad_part() {
    if has_line "$TRACE" 'shell "open" "notepad.exe" "C:\\\\ovrix-windows.txt" [0-9]+' &&
        has_line "$TRACE" "window activate \"$WINDOWS_NOTEPAD\""; then
        pass "windows: Notepad opened, waited for and switched to"
    else
        fail "windows: no Notepad opened and switched to (trace: $TRACE)"
    fi
    check_reported "the text typed into Notepad reads back through its edit control" notepad TypedByOvrix
    check_reported "the script's own test of that text holds" notepad-check ok
    check_reported "ListWindows finds it by its process's executable name" listed-notepad 1
    check_reported "and not under another executable name" listed-other 0
    if has_line "$TRACE" 'window message ".*" 0x[bB]9 0 0' && has_line "$TRACE" "window close \"$WINDOWS_NOTEPAD\""; then
        pass "windows: the modified flag is cleared and the close request posted"
    else
        fail "windows: no EM_SETMODIFY and close request in the trace"
    fi
    check_reported "Notepad closed without a prompt and the wait saw it go" notepad-closed yes
    if probe wait --title "$WINDOWS_NOTEPAD" --timeout 0 >/dev/null; then
        fail "windows: Notepad still shows"
        timeout 20 "$WINE" taskkill /f /im notepad.exe >/dev/null 2>&1
    fi
}

check_target_part() {
    local target=$1
    check_reported "a recursive FindSubWindow finds the button inside the panel" recursive Inner
    check_reported "a flat one does not" flat ""
    check_reported "GetRectInParent is in the panel's client coordinates" rect "[Rect - 5,7,65,29]"
    check_reported "Win_GetText reads all 2,000 characters" edit-length 2000
    check_reported "SendString types one character per unit" sent "Sent €"
    local edit_text
    edit_text=$(probe children "$target" | awk '$3 == "Edit" { sub(/^[^ ]+ [^ ]+ [^ ]+ /, ""); print; exit }')
    if [[ $edit_text == '"Set by the script"' ]]; then
        pass "windows: Win_SetText set the edit's text"
    else
        fail "windows: the edit holds ${edit_text:0:40}... after Win_SetText"
    fi
    local place
    place=$(probe window "$target")
    if [[ $place == "1 300 200 800 550" ]]; then
        pass "windows: SetWindowPos and SetWindowSize placed the window at 300,200, 500 x 350"
    else
        fail "windows: the target window is at \"$place\", not \"1 300 200 800 550\""
    fi
    local button
    button=$(probe children "$target" | awk '$3 == "Button" && $4 == "\"Press\"" { print $1; exit }')
    if [[ -n $button && $(probe window "$button" | cut -d' ' -f1) == 0 ]]; then
        pass "windows: ShowWindow hid the button"
    else
        fail "windows: the button ${button:-(not found)} is still visible"
    fi
}

run_windows_tests() {
    if [[ ! -f $TARGET_EXE || ! -f $PROBE || ! -x $COMPILE || ! -f $PLAYER64 ]]; then
        fail "windows: needs $TARGET_EXE, $PROBE, $COMPILE and $PLAYER64"
        return
    fi
    local started=$SECONDS target target_pid
    : >"$WINEPREFIX/drive_c/$WINDOWS_FILE"
    timeout 150 "$WINE" "$TARGET_EXE" &
    target_pid=$!
    target=$(probe wait --class OvrixTarget --title 'Ovrix Target' --timeout 20000 | cut -d' ' -f1)
    if [[ -z $target ]]; then
        fail "windows: the target window did not appear"
        kill "$target_pid" 2>/dev/null
        wait "$target_pid" 2>/dev/null
        return
    fi

    if start_player windows windows; then
        finish_player windows 60
        check_notepad_part
        check_target_part "$target"
    else
        fail "windows: cannot build the player"
    fi
    kill "$target_pid" 2>/dev/null
    wait "$target_pid" 2>/dev/null
    echo "windows: $((SECONDS - started)) s"
}
