#!/usr/bin/env bash
# The Windows tests: the portable test suite cross-built for Windows, and the
# real player end to end, both under wine64 on a virtual display.
#
#   1. build/win64/tests/ovrix_tests.exe passes under Wine.
#   2. The unfilled players (win64 and win32) carry the slot marker exactly
#      once, in a ".ovrix" section.
#   3. For two images (the demo image and one whose steps take about 3.5 s):
#      packed into the 64-bit player and played with OVRIX_TRACE set, the
#      player exits with 0, no visible window titled "Ovrix" appears while it
#      plays (while the progress window does, for the longer image), and its trace, without the millisecond field, equals the trace
#      that ovrix-sim writes for the same image on a screen of the same size
#      (and, for the demo, with the Notepad window it opens described in
#      tests/wine/demo.desktop.json).
#      The image is read back out of the packed player through its section.
#   4. Input replay and the player's windows, driven as a person would
#      (tests/wine/input_replay.sh): typing and clicking into notepad, the
#      progress window, the pause and stop hotkeys, a message box, the script
#      error and shutdown countdown dialogs. Screenshots stay in the work folder.
#   5. The window steps and functions on real windows (tests/wine/windows_e2e.sh):
#      Notepad opened, waited for, switched to, typed into, read and closed,
#      and the controls of a test window of our own found and driven.
#   6. The picture search on the real screen (tests/wine/pictures_e2e.sh): a
#      known picture shown by a program of ours found, moved to and clicked;
#      a picture never shown timing out with each timeout action.
#   7. The dialogs a script asks with (tests/wine/dialogs_e2e.sh): input boxes,
#      a selection list and Input Parameters answered with real key presses,
#      the answers read from the script's message box.
#   8. A window a script builds (tests/wine/scriptwin_e2e.sh): typed into and
#      clicked, its handler script ends it with a result the script shows.
#   9. Automation objects Wine provides, and the workbook functions without a
#      spreadsheet application (tests/wine/ole_e2e.sh); before them, the workbook
#      functions against a spreadsheet server of ours (tests/wine/workbook_e2e.sh).
#   10. The registry, the clipboard's HTML and the web (tests/wine/registry_e2e.sh):
#      values written, read back and deleted under HKEY_CURRENT_USER and seen
#      by `reg query`; HTML on the clipboard read back; a page fetched from a
#      web server on loopback.
#   11. Programs, processes and their memory (tests/wine/processes_e2e.sh):
#      Notepad started, opened and ended by name, commands waited for, and
#      a test program's variables read and written by address.
#   12. The databases (tests/wine/database_e2e.sh): SQLite through sqlite3.dll
#      beside the packed player, the ADO failure path, a missing sqlite3.dll.
#   13. The files functions on the real disk (tests/wine/files_e2e.sh): a file
#      with a non-ASCII name written, added to, read back and deleted.
#
# Needs the builds: build/native (tools), build/win64 (ovrix,
# ovrix_tests, ovrix-wine-probe, ovrix-wine-target, ovrix-wine-picture, ovrix-wine-memory,
# ovrix-wine-sheet-server),
# build/win32 (ovrix); override with OVRIX_NATIVE_BUILD, OVRIX_WIN64_BUILD,
# OVRIX_WIN32_BUILD. Ends with "N passed, M failed"; non-zero on any failure.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
NATIVE=${OVRIX_NATIVE_BUILD:-$ROOT/build/native}
WIN64=${OVRIX_WIN64_BUILD:-$ROOT/build/win64}
WIN32=${OVRIX_WIN32_BUILD:-$ROOT/build/win32}
WORK=${OVRIX_WINE_TEST_WORK:-$ROOT/build/wine-tests}
SCREEN=1280x1024  # the virtual display of with-wine.sh
MARKER='\xee\xee\xde\x27\x3a\xab\x0b\xc2\x4e\x05\x7f\x25\x26\xbb\xee\xee'

# The whole run happens inside one Wine environment.
if [[ -z ${OVRIX_IN_WINE:-} ]]; then
    export OVRIX_IN_WINE=1
    export OVRIX_WINE_PREFIX=${OVRIX_WINE_PREFIX:-$ROOT/build/wine-prefix-tests}
    exec "$ROOT/scripts/with-wine.sh" --timeout 900 bash "$0" "$@"
fi

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS: $1"; }
fail() { failed=$((failed + 1)); echo "FAIL: $1"; }

mkdir -p "$WORK"
# No window manager runs on the display, and Wine waits up to 2 s for one to
# withdraw each managed window that closes (the progress window at the end of
# playback among them): Wine places and frames all windows itself instead.
timeout 60 "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
PLAYER64=$WIN64/src/platform/win32/ovrix.exe
PLAYER32=$WIN32/src/platform/win32/ovrix.exe

# --- 1. The portable tests, cross-built.
if [[ -f $WIN64/tests/ovrix_tests.exe ]]; then
    if timeout 120 "$WINE" "$WIN64/tests/ovrix_tests.exe" --gtest_brief=1 >"$WORK/ovrix_tests.log" 2>&1; then
        pass "ovrix_tests.exe under Wine ($(grep -E '^\[  PASSED  \]' "$WORK/ovrix_tests.log" | head -1))"
    else
        fail "ovrix_tests.exe under Wine; log: $WORK/ovrix_tests.log"
        tail -20 "$WORK/ovrix_tests.log"
    fi
else
    fail "ovrix_tests.exe under Wine: $WIN64/tests/ovrix_tests.exe is not built"
fi

# --- 2. The slot in the unfilled players.
for player in "$PLAYER64" "$PLAYER32"; do
    if [[ ! -f $player ]]; then
        fail "slot marker: $player is not built"
        continue
    fi
    count=$(LC_ALL=C grep -obUaP "$MARKER" "$player" | wc -l)
    if [[ $count -eq 1 ]]; then
        pass "slot marker occurs once in $player"
    else
        fail "slot marker occurs $count times in $player"
    fi
done

# --- 3. The player end to end.
# The trace without its leading millisecond field.
strip_ms() { sed -E 's/^[0-9]+ //' "$1"; }
# Wine's US layout answers key 228 for a line feed where Windows (and the
# simulated desktop) answer Ctrl + Enter; the player sends what it is told.
# A window wait shows its waiting line only when the window is not there at
# the first look, which on the real desktop depends on how fast the program
# started: the line is left out of the real trace, and the simulated desktop
# has the window from the start.
as_on_windows() { sed -E 's/^input 228 /input 13 /' | grep -v '^line status "Waiting for the window appear"$'; }

# Plays an exe in the background and watches the display until it ends: for
# a visible window titled exactly "Ovrix" (SEEN) and for any visible window
# of the player's process, which Wine names after the exe (SHOWN, the
# progress window); sets STATUS to the exit code.
play_and_watch() {
    local exe=$1 trace=$2
    OVRIX_TRACE=$trace timeout 120 "$WINE" "$exe" &
    local pid=$!
    SEEN=0
    SHOWN=0
    while kill -0 "$pid" 2>/dev/null; do
        if [[ -n $(xdotool search --onlyvisible --name '^Ovrix$' 2>/dev/null) ]]; then SEEN=1; fi
        if [[ -n $(xdotool search --onlyvisible --classname "$(basename "$exe")" 2>/dev/null) ]]; then SHOWN=1; fi
        sleep 0.1
    done
    STATUS=0
    wait "$pid" || STATUS=$?
}

end_to_end() {
    local name=$1 image=$2
    local exe=$WORK/$name.exe trace=$WORK/$name.trace expected=$WORK/$name.expected
    rm -f "$exe" "$trace" "$expected"
    if ! "$NATIVE/tools/ovrix-pack" "$PLAYER64" "$image" -o "$exe"; then
        fail "$name: cannot pack the image"
        return
    fi
    # The packed player's marker is gone; the tools find the slot by its section.
    if "$NATIVE/tools/ovrix-pack" --extract "$exe" -o "$WORK/$name.extracted" &&
        cmp -s "$image" "$WORK/$name.extracted"; then
        pass "$name: the image reads back out of the packed player's .ovrix section"
    else
        fail "$name: the image does not read back out of the packed player"
    fi
    # The windows the image waits for, on the simulated desktop.
    local desktop=()
    [[ -f $ROOT/tests/wine/$name.desktop.json ]] && desktop=(--desktop "$ROOT/tests/wine/$name.desktop.json")
    "$NATIVE/tools/ovrix-sim" "${desktop[@]}" --screen "$SCREEN" "$image" >"$expected.raw" 2>/dev/null
    strip_ms "$expected.raw" >"$expected"

    play_and_watch "$exe" "$trace"
    if [[ $STATUS -eq 0 ]]; then pass "$name: exit code 0"; else fail "$name: exit code $STATUS"; fi
    if [[ $SEEN -eq 0 ]]; then
        pass "$name: no visible window titled \"Ovrix\" while playing"
    else
        fail "$name: a visible window titled \"Ovrix\" appeared"
    fi
    if [[ $name == steps ]]; then  # long enough to be seen
        if [[ $SHOWN -eq 1 ]]; then pass "$name: the progress window was visible"; else fail "$name: no progress window seen"; fi
    fi
    if [[ -s $trace ]] && diff <(strip_ms "$trace" | as_on_windows) "$expected" >"$WORK/$name.diff"; then
        pass "$name: trace equals the simulated desktop's ($(wc -l <"$expected") lines)"
    else
        fail "$name: trace differs from the simulated desktop's; diff: $WORK/$name.diff"
        head -20 "$WORK/$name.diff"
    fi
}

tools_ready=1
for tool in ovrix-pack ovrix-sim ovrix-demo-image ovrix-compile; do
    [[ -x $NATIVE/tools/$tool ]] || { fail "native tool $NATIVE/tools/$tool is not built"; tools_ready=0; }
done
if [[ $tools_ready -eq 1 && -f $PLAYER64 ]]; then
    if "$NATIVE/tools/ovrix-compile" "$ROOT/tests/wine/scenes/steps.ovs" -o "$WORK/steps.img"; then
        end_to_end steps "$WORK/steps.img"
    else
        fail "cannot compile the scene tests/wine/scenes/steps.ovs"
    fi
    "$NATIVE/tools/ovrix-demo-image" -o "$WORK/demo.img" && end_to_end demo "$WORK/demo.img"
fi

# --- 4. Input replay and the player's windows.
source "$ROOT/tests/wine/input_replay.sh"
run_input_replay_tests

# --- 5. Window steps and functions.
source "$ROOT/tests/wine/windows_e2e.sh"
run_windows_tests

# --- 6. The picture search.
source "$ROOT/tests/wine/pictures_e2e.sh"
run_pictures_tests

# --- 7. The dialogs a script asks with.
source "$ROOT/tests/wine/dialogs_e2e.sh"
run_dialogs_tests

# --- 8. Windows that scripts build.
source "$ROOT/tests/wine/scriptwin_e2e.sh"
run_scriptwin_tests

# --- 9. Workbooks through a spreadsheet application of our own, unregistered
# again before the automation objects and the workbooks without one.
source "$ROOT/tests/wine/workbook_e2e.sh"
run_workbook_tests

# --- 9. Automation objects and workbooks.
source "$ROOT/tests/wine/ole_e2e.sh"
run_ole_tests

# --- 10. The registry, the clipboard's HTML and the web.
source "$ROOT/tests/wine/registry_e2e.sh"
run_registry_tests

# --- 11. Programs, processes and process memory.
source "$ROOT/tests/wine/processes_e2e.sh"
run_processes_tests

# --- 12. The databases.
source "$ROOT/tests/wine/database_e2e.sh"
run_database_tests

# --- 13. Files on the real disk.
source "$ROOT/tests/wine/files_e2e.sh"
run_files_tests

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
