# Section 6 of run_wine_tests.sh (sourced by it, inside its Wine environment,
# after input_replay.sh, whose helpers it uses): the dialogs a script asks the
# person with, answered with real key presses, in one player run of the
# "dialogs" image.
#
#   input box     "Zed" typed, Enter
#   multi-line    "one", Enter (a new line), "two", Tab (appended), Ctrl+Enter
#                 closes it
#   select list   the items come sorted, "b" preselects banana; Down, Enter
#   parameters    editing starts in the empty Address; Up, Up to Name, its
#                 text erased, Enter moves on to Address, "Main St",
#                 Ctrl+Enter: refused with a message (Name is required), Enter
#                 closes that, editing is back in Name: "Bob", Ctrl+Enter
#   cancelled     a second parameters dialog, Esc
#
# The script shows every answer in one message box titled "Results", whose
# text is read from the box itself. Uses from the caller: WINE, WINEPREFIX,
# WORK, NATIVE, PLAYER64, pass, fail, probe, wait_for, has_line, start_player,
# finish_player, child_text, control_text.

# As the probe quotes it; NamedData_Print shows text members in quotes.
DIALOGS_RESULT='"a=[Zed] b=[one\r\ntwo\t] c=[cherry] d=[Name = \"Bob\"\r\nAge = \"16\"\r\nAddress = \"Main St\"\r\n] e=[] "'

# focus_title TITLE: gives the X input focus to the visible window titled
# exactly TITLE (keys go to the focused X window); fails after 10 s.
focused_title() {
    local id
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [[ -n $id ]] && xdotool windowfocus --sync "$id" 2>/dev/null
}
focus_title() { wait_for 10 focused_title "$1"; }

# ask_window TITLE: waits for the dialog and prints its window handle.
ask_window() { probe wait --class '#32770' --title "$1" --timeout 15000 | cut -d' ' -f1; }

# keys KEY...: real key presses, a little apart so Wine sees each.
keys() { xdotool key --delay 80 "$@"; }
typed() { xdotool type --delay 60 "$1"; }

dialogs_input_boxes() {
    local box
    box=$(ask_window Ask)
    if [[ -n $box ]] && [[ $(control_text "$box" 1001) == '"Your name?"' ]]; then
        pass "dialogs: the input box shows its caption and prompt"
    else
        fail "dialogs: input box ${box:-missing}, its prompt $(control_text "$box" 1001)"
    fi
    focus_title Ask && typed Zed && keys Return

    box=$(ask_window 'Ask ML')
    [[ -n $box ]] || { fail "dialogs: no multi-line input box"; return 1; }
    focus_title 'Ask ML' && typed one && keys Return && typed two && keys Tab ctrl+Return
    if wait_for 10 has_line "$TRACE" 'ask inputboxml "Ask ML" "Some lines\?" ok "one\\r\\ntwo\\t"'; then
        pass "dialogs: Enter starts a new line, Tab appends a tab and Ctrl+Enter closes the multi-line box"
    else
        fail "dialogs: the multi-line box did not close with one, a new line, two and a tab"
    fi
}

dialogs_select_list() {
    local box combo
    box=$(ask_window Pick)
    [[ -n $box ]] || { fail "dialogs: no selection list"; return 1; }
    combo=$(control_text "$box" 1001)
    if [[ $combo == '"banana"' && $(control_text "$box" 1002) == '"Fruit?"' ]]; then
        pass "dialogs: the selection list preselects banana for \"b\""
    else
        fail "dialogs: the selection list shows $combo"
    fi
    focus_title Pick && keys Down Return
}

dialogs_parameters() {
    local box refusal
    box=$(ask_window 'Input Parameters')
    [[ -n $box ]] || { fail "dialogs: no Input Parameters dialog"; return 1; }
    screenshot input-parameters.png
    focus_title 'Input Parameters' || return 1
    keys Up Up End BackSpace BackSpace BackSpace BackSpace BackSpace Return
    typed 'Main St'
    keys ctrl+Return
    refusal=$(probe wait --title Ovrix --timeout 10000 | cut -d' ' -f1)
    if [[ -n $refusal ]] && has_line "$TRACE" 'msgbox 0x0 "Ovrix" "The value of \\"Name\\" can not be empty!"'; then
        pass "dialogs: OK with the required Name empty is refused with a message"
    else
        fail "dialogs: no refusal for the empty required Name"
    fi
    focus_title Ovrix && keys Return
    # Editing is back in Name; the dialog stayed open.
    wait_for 5 focused_title 'Input Parameters' && typed Bob && keys ctrl+Return

    box=$(ask_window 'Input Parameters')
    [[ -n $box ]] || { fail "dialogs: no second Input Parameters dialog"; return 1; }
    # The only value is filled in: the list has the focus and Esc cancels.
    focus_title 'Input Parameters' && keys Escape
}

dialogs_results() {
    local box shown
    box=$(probe wait --title Results --timeout 15000 | cut -d' ' -f1)
    shown=$(probe children "$box" | awk '$3 == "Static" && $4 != "\"\"" { sub(/^[^ ]+ [^ ]+ [^ ]+ /, ""); print; exit }')
    if [[ $shown == "$DIALOGS_RESULT" ]]; then
        pass "dialogs: the script got every answer: $shown"
    else
        fail "dialogs: the results box reads ${shown:-nothing}, not $DIALOGS_RESULT"
    fi
    focus_title Results && keys Return
}

run_dialogs_tests() {
    if [[ ! -f $PROBE || ! -x $COMPILE || ! -f $PLAYER64 ]]; then
        fail "dialogs: needs $PROBE, $COMPILE and $PLAYER64"
        return
    fi
    local started=$SECONDS
    start_player dialogs dialogs || { fail "dialogs: cannot build the player"; return; }
    dialogs_input_boxes && dialogs_select_list && dialogs_parameters && dialogs_results
    if has_line "$TRACE" 'ask inputbox "Ask" "Your name\?" ok "Zed"' &&
        has_line "$TRACE" 'ask selectlist "Pick" "Fruit\?" ok "cherry"' &&
        has_line "$TRACE" 'ask inputpara "Input Parameters" "" cancel'; then
        pass "dialogs: each dialog is traced with the button and answer"
    else
        fail "dialogs: the ask lines of the trace are not all there (trace: $TRACE)"
    fi
    finish_player dialogs 20
    echo "dialogs: $((SECONDS - started)) s"
}
