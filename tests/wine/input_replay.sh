# Section 4 of run_wine_tests.sh (sourced by it, inside its Wine environment):
# the packed player replays input into real Wine windows, and people drive it
# through its hotkeys and dialogs, simulated with xdotool and wine-probe.
#
#   typing     types, clicks and pastes into Wine's notepad; the edit's text
#              is read back, the Alt + numeric-pad typing (which gives no
#              character under Wine) is checked in the trace, and the whole
#              trace must equal the simulated desktop's (numeric-pad scan
#              codes aside)
#   progress   the progress window sits in the bottom-right corner with the
#              stop hint (screenshot: progress-window.png); Ctrl+P pauses and
#              holds the step delay, Ctrl+P resumes, Shift+F2 stops a 60 s
#              delay at once
#   msgbox     a message-box step waits until the box is closed with Enter
#   error      the script error dialog shows the error text; after OK the
#              script stops (screenshot: script-error.png)
#   countdown  the shutdown countdown counts and is cancelled; no shutdown is
#              asked for (screenshot: countdown.png)
#
# Every wait polls against a deadline; every Wine process runs under timeout.
# Uses from the caller: ROOT, WINE, WINEPREFIX, WORK, NATIVE, WIN64, PLAYER64, SCREEN,
# strip_ms, pass, fail.

PROBE=$WIN64/tests/ovrix-wine-probe.exe
COMPILE=$NATIVE/tools/ovrix-compile

probe() { timeout 30 "$WINE" "$PROBE" "$@" 2>/dev/null; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# wait_for SECONDS COMMAND...: runs the command every 50 ms until it succeeds.
wait_for() {
    local deadline=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do
        (($(now_ms) >= deadline)) && return 1
        sleep 0.05
    done
}

# Whether the trace has a line whose event and arguments match an extended regex.
has_line() { grep -qE "^[0-9]+ $2" "$1" 2>/dev/null; }
# reported KEY VALUE: the script put "KEY=VALUE" on the clipboard (the trace $TRACE).
# grep reads the whole trace: under pipefail an early exit (-q) could fail
# the pipeline while cut is still writing.
reported() { cut -d' ' -f2- "$TRACE" | grep -xF -- "clipboard \"$1=$2\"" >/dev/null; }
# The value the script reported under KEY, as the trace quotes it.
reported_value() { cut -d' ' -f2- "$TRACE" | sed -n "s/^clipboard \"$1=\(.*\)\"$/\1/p" | head -1; }
# expect_reported SECTION LABEL KEY VALUE: passes when the script reported
# KEY=VALUE; the failure says what it reported instead.
expect_reported() {
    if reported "$3" "$4"; then
        pass "$1: $2 ($3=$4)"
    else
        fail "$1: $2: $3 reported \"$(reported_value "$3")\", not \"$4\""
    fi
}
# The ms field of the N-th line (default 1) matching an extended regex.
line_ms() { grep -E "^[0-9]+ $2" "$1" | sed -n "${3:-1}p" | cut -d' ' -f1; }

# child_text HWND FIELD VALUE: the text, as a JSON literal, of the first child
# window whose id (field 2) or class (field 3) is VALUE.
child_text() {
    probe children "$1" | awk -v field="$2" -v value="$3" '$field == value { sub(/^[^ ]+ [^ ]+ [^ ]+ /, ""); print; exit }'
}
control_text() { child_text "$1" 2 "$2"; }
control_is() { [[ $(control_text "$1" "$2") == "$3" ]]; }

# start_player NAME SCENE [KEY=NUMBER...]: compiles tests/wine/scenes/SCENE.ovs
# with its placeholders filled in (scene_image.sh), packs the image into the
# player and starts it with a trace; sets PLAYER_PID, TRACE and EXE.
start_player() {
    local name=$1 scene=$2
    shift 2
    EXE=$WORK/$name.exe
    TRACE=$WORK/$name.trace
    rm -f "$EXE" "$TRACE" "$WORK/$name.img"
    "$ROOT/tests/wine/scene_image.sh" "$COMPILE" "$scene" "$WORK/$name.img" "$@" &&
        "$NATIVE/tools/ovrix-pack" "$PLAYER64" "$WORK/$name.img" -o "$EXE" ||
        return 1
    OVRIX_TRACE=$TRACE timeout 90 "$WINE" "$EXE" &
    PLAYER_PID=$!
}

# finish_player NAME SECONDS: waits for the player to end; a player still
# running then is killed and counts as a failure.
player_ended() { ! kill -0 "$PLAYER_PID" 2>/dev/null; }
finish_player() {
    local status=0
    if wait_for "$2" player_ended; then
        wait "$PLAYER_PID" || status=$?
        if [[ $status -eq 0 ]]; then pass "$1: the player ends with exit code 0"; else fail "$1: exit code $status"; fi
    else
        fail "$1: the player still runs after $2 s"
        kill "$PLAYER_PID" 2>/dev/null
        wait "$PLAYER_PID" 2>/dev/null
    fi
}

# A trace without its ms field and without the scan codes of the numeric-pad
# keys (96 to 105): Wine's keyboard layout gives them none, the simulated
# desktop a US layout's.
without_numpad_scan() { strip_ms "$1" | sed -E 's/^key (9[6-9]|10[0-5]) [0-9]+ /key \1 - /'; }

screenshot() { import -window root "$WORK/$1" 2>/dev/null || echo "(no screenshot $1)"; }

# Notepad on an empty file of its own, told apart by its title from any other
# notepad on the display (the demo opens one).
NOTEPAD_FILE=ovrix-typing.txt
NOTEPAD_TITLE="$NOTEPAD_FILE - Notepad"
NOTEPAD_PID=
start_notepad() {
    : >"$WINEPREFIX/drive_c/$NOTEPAD_FILE" || return 1
    timeout 300 "$WINE" notepad "C:\\$NOTEPAD_FILE" &
    NOTEPAD_PID=$!
    NOTEPAD=$(probe wait --class Notepad --title "$NOTEPAD_TITLE" --timeout 20000 | cut -d' ' -f1)
    [[ -n $NOTEPAD ]] || return 1
    NOTEPAD_EDIT=$(probe children "$NOTEPAD" | awk '$3 == "Edit" { print $1; exit }')
    [[ -n $NOTEPAD_EDIT ]]
}
stop_notepad() {
    [[ -n $NOTEPAD_PID ]] || return 0
    kill "$NOTEPAD_PID" 2>/dev/null
    wait "$NOTEPAD_PID" 2>/dev/null
    NOTEPAD_PID=
}
# Hotkeys reach the player only while a Wine window has the X input focus.
focus_notepad() {
    local id
    id=$(xdotool search --onlyvisible --name "^$NOTEPAD_TITLE\$" 2>/dev/null | head -1)
    [[ -n $id ]] && xdotool windowfocus --sync "$id" 2>/dev/null
}

test_typing() {
    local client x y
    client=$(probe client "$NOTEPAD_EDIT")
    [[ -n $client ]] || { fail "typing: cannot find notepad's edit control"; return; }
    read -r x y _ <<<"$client"
    # Just inside the first line's left end: the caret goes before its first character.
    x=$((x + 2))
    y=$((y + 4))
    focus_notepad || { fail "typing: cannot focus notepad"; return; }
    start_player typing typing X="$x" Y="$y" || { fail "typing: cannot build the player"; return; }
    finish_player typing 60

    local text expected='"Grüße € [pasted]\r\ndef"'
    text=$(child_text "$NOTEPAD" 3 Edit)
    if [[ $text == "$expected" ]]; then
        pass "typing: notepad holds $expected"
    else
        fail "typing: notepad holds $text, not $expected"
    fi

    # Alt (18) held around numeric-pad keys (96 + digit) for " " (32) and "!" (33).
    local keys
    keys=$(grep -E '^[0-9]+ key ' "$TRACE" | awk '{ printf "%s%s ", $3, ($5 == "0x2" ? "^" : "") }')
    if [[ $keys == *"18 99 99^ 98 98^ 18^ "*"18 99 99^ 99 99^ 18^ "* ]]; then
        pass "typing: space and \"!\" go as Alt + numeric pad 3 2 and 3 3"
    else
        fail "typing: no Alt + numeric-pad sequences in the keys sent: $keys"
    fi

    "$NATIVE/tools/ovrix-sim" --screen "$SCREEN" "$WORK/typing.img" >"$WORK/typing.expected.raw" 2>/dev/null
    if [[ -s $TRACE ]] && diff <(without_numpad_scan "$TRACE") <(without_numpad_scan "$WORK/typing.expected.raw") >"$WORK/typing.diff"; then
        pass "typing: trace equals the simulated desktop's (numeric-pad scan codes aside)"
    else
        fail "typing: trace differs from the simulated desktop's; diff: $WORK/typing.diff"
        head -10 "$WORK/typing.diff"
    fi
}

# Checks the progress window while playback is paused, however long that takes.
check_progress_window() {
    local window work
    window=$(probe wait --class '#32770' --title '' --timeout 5000)
    work=$(probe workarea)
    screenshot progress-window.png
    read -r _ left top right bottom _ <<<"$window"
    read -r _ _ work_right work_bottom <<<"$work"
    if [[ -n $window && $right == "$work_right" && $bottom == "$work_bottom" ]]; then
        pass "progress: the window sits in the bottom-right corner ($left,$top - $right,$bottom)"
    else
        fail "progress: window \"$window\" is not in the corner of the work area \"$work\""
    fi
    # The step and status lines keep their texts to themselves (the trace
    # has them); the repeat and script lines are plain static controls.
    local repeat script
    repeat=$(control_text "${window%% *}" 1004)
    script=$(control_text "${window%% *}" 1002)
    if [[ $repeat == '"Repeat 1 times, current 1"' && $script == '"Press Shift + F2 to Stop"' ]] &&
        has_line "$TRACE" 'line script "Press Shift \+ F2 to Stop"'; then
        pass "progress: the window reads $repeat and $script"
    else
        fail "progress: the repeat line reads $repeat, the script line $script"
    fi
}

test_progress_and_hotkeys() {
    start_player hotkeys hotkeys || { fail "hotkeys: cannot build the player"; return; }
    if ! wait_for 20 has_line "$TRACE" 'line step "Step 1: Hold"'; then
        fail "hotkeys: the first step did not start"
        finish_player hotkeys 1
        return
    fi

    focus_notepad || xdotool windowfocus --sync "$(xdotool search --onlyvisible --classname "$(basename "$EXE")" | head -1)"
    xdotool key ctrl+p
    # Key names come from the keyboard layout: Wine's calls Ctrl "Control".
    if wait_for 5 has_line "$TRACE" 'line status "Paused, Press (Ctrl|Control) \+ P to Continue"'; then
        pass "hotkeys: Ctrl+P pauses"
    else
        fail "hotkeys: no pause after Ctrl+P"
    fi
    check_progress_window
    focus_notepad
    xdotool key ctrl+p
    if wait_for 5 has_line "$TRACE" 'line step "Step 2: Long"'; then
        local step1 paused resumed step2
        step1=$(line_ms "$TRACE" 'line step "Step 1')
        paused=$(line_ms "$TRACE" 'line status "Paused')
        resumed=$(line_ms "$TRACE" 'line status "Step Complete"' 2)
        step2=$(line_ms "$TRACE" 'line step "Step 2')
        # The 3 s delay plus the time spent paused, less one 50 ms slice.
        if [[ -n $resumed ]] && ((step2 - step1 >= 3000 + resumed - paused - 50)); then
            pass "hotkeys: Ctrl+P resumes; the paused $((resumed - paused)) ms did not count towards the delay"
        else
            fail "hotkeys: step 1 at $step1, paused at $paused, resumed at ${resumed:-never}, step 2 at $step2"
        fi
    else
        fail "hotkeys: no resume after the second Ctrl+P"
    fi

    focus_notepad
    xdotool key shift+F2
    if wait_for 5 has_line "$TRACE" 'end$'; then
        local pressed stopped
        pressed=$(line_ms "$TRACE" 'hotkey-press stop')
        stopped=$(line_ms "$TRACE" 'end$')
        # One 50 ms slice of the 60 s delay, then closing the progress window;
        # the rest is room for a loaded machine.
        if [[ -n $pressed ]] && ((stopped - pressed <= 300)); then
            pass "hotkeys: Shift+F2 stops the 60 s delay $((stopped - pressed)) ms after the key"
        else
            fail "hotkeys: the stop key at ${pressed:-(not traced)} ms, playback ended at $stopped ms"
        fi
    else
        fail "hotkeys: Shift+F2 did not stop playback"
    fi
    finish_player hotkeys 15
}

test_message_box() {
    start_player msgbox msgbox || { fail "msgbox: cannot build the player"; return; }
    local box id
    box=$(probe wait --title Vantorel --timeout 20000)
    if [[ -n $box ]] && has_line "$TRACE" 'msgbox 0x50040 "Vantorel" "Close me"'; then
        pass "msgbox: the box \"Close me\" titled \"Vantorel\" shows"
    else
        fail "msgbox: no message box seen"
    fi
    sleep 1  # the step must wait for the box, however long it stays
    id=$(xdotool search --onlyvisible --name '^Vantorel$' 2>/dev/null | head -1)
    [[ -n $id ]] && xdotool windowfocus --sync "$id" key Return 2>/dev/null
    if wait_for 10 has_line "$TRACE" 'line step "Step 2: After"'; then
        local shown after
        shown=$(line_ms "$TRACE" 'msgbox ')
        after=$(line_ms "$TRACE" 'line step "Step 2')
        if ((after - shown >= 900)); then
            pass "msgbox: Enter closes it and the next step follows ($((after - shown)) ms after it showed)"
        else
            fail "msgbox: the next step came $((after - shown)) ms after the box showed, before it was closed"
        fi
    else
        fail "msgbox: Enter did not close the box"
    fi
    finish_player msgbox 15
}

test_script_error() {
    start_player error error || { fail "error: cannot build the player"; return; }
    local dialog shown
    dialog=$(probe wait --title 'Script Error' --timeout 20000 | cut -d' ' -f1)
    screenshot script-error.png
    shown=$(grep -E '^[0-9]+ error ' "$TRACE" | cut -d' ' -f3-)
    if [[ -n $dialog && -n $shown ]] && control_is "$dialog" 1010 "$shown"; then
        pass "error: the dialog shows $shown"
    else
        fail "error: dialog ${dialog:-missing}, its text $(control_text "$dialog" 1010), traced ${shown:-nothing}"
    fi
    local id
    id=$(xdotool search --onlyvisible --name '^Script Error$' 2>/dev/null | head -1)
    [[ -n $id ]] && xdotool windowfocus --sync "$id" key Return 2>/dev/null
    if wait_for 10 has_line "$TRACE" 'end$' && ! has_line "$TRACE" 'line step "Step 2'; then
        pass "error: OK closes it and playback stops"
    else
        fail "error: playback did not stop after the dialog"
    fi
    finish_player error 15
}

test_countdown() {
    start_player countdown countdown || { fail "countdown: cannot build the player"; return; }
    local dialog
    dialog=$(probe wait --title 'Shutdown Computer' --timeout 20000 | cut -d' ' -f1)
    if [[ -n $dialog ]] && control_is "$dialog" 1008 '"Vantorel will shutdown the computer in:"' &&
        wait_for 5 control_is "$dialog" 1007 '"29 seconds"'; then
        pass "countdown: the dialog counts down from 30 seconds"
    else
        fail "countdown: dialog ${dialog:-missing}, its countdown line $(control_text "$dialog" 1007)"
    fi
    screenshot countdown.png
    [[ -n $dialog ]] && probe command "$dialog" 2
    if wait_for 10 has_line "$TRACE" 'line step "Step 2: After"' && has_line "$TRACE" 'dialog-closed' &&
        ! has_line "$TRACE" '(privilege|exitwindows)'; then
        pass "countdown: Cancel closes it, no shutdown is asked for and playback goes on"
    else
        fail "countdown: Cancel did not end the step as it should"
    fi
    finish_player countdown 15
}

run_input_replay_tests() {
    if [[ ! -x $COMPILE || ! -f $PROBE || ! -f $PLAYER64 ]]; then
        fail "input replay: needs $COMPILE, $PROBE and $PLAYER64"
        return
    fi
    if start_notepad; then
        test_typing
    else
        fail "typing: notepad did not start"
    fi
    test_progress_and_hotkeys
    stop_notepad
    test_message_box
    test_script_error
    test_countdown
}
