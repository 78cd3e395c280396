# A section of run_wine_tests.sh (sourced by it, inside its Wine environment,
# after input_replay.sh and dialogs_e2e.sh, whose helpers it uses): a window
# the script builds itself, driven with real input in one player run of the
# "scriptwin" image.
#
#   "Ovrix Form"   "hello" typed into its edit, its "Copy" button clicked;
#                  the button's handler script copies the text to the label
#                  and ends the modal run with 7
#   "Form Result"  the message box that shows the result and the label
#
# A screenshot of the form with the text typed is kept as scriptwin-form.png.

SCRIPTWIN_RESULT='"result=7 label=hello"'

# scriptwin_click FORM X Y: a real click at X,Y of the form's client area
# (Wine gives the controls no X windows of their own to aim at).
scriptwin_click() {
    local client cx cy
    client=$(probe client "$1")
    [[ -n $client ]] || return 1
    read -r cx cy _ <<<"$client"
    xdotool mousemove --sync $((cx + $2)) $((cy + $3)) click 1
}

run_scriptwin_tests() {
    if [[ ! -f $PROBE || ! -x $COMPILE || ! -f $PLAYER64 ]]; then
        fail "scriptwin: needs $PROBE, $COMPILE and $PLAYER64"
        return
    fi
    local started=$SECONDS form edit shown box
    start_player scriptwin scriptwin || { fail "scriptwin: cannot build the player"; return; }
    form=$(probe wait --class DefaultWindowClass --title 'Ovrix Form' --timeout 15000 | cut -d' ' -f1)
    if [[ -n $form ]]; then
        pass "scriptwin: the script's window is shown"
    else
        fail "scriptwin: no window \"Ovrix Form\""
        finish_player scriptwin 5
        return
    fi
    edit=$(probe children "$form" | awk '$2 == "101" { print $1; exit }')
    [[ -n $edit ]] || fail "scriptwin: the form has no edit with id 101"
    focus_title 'Ovrix Form'
    # The edit (20, 20, 200 x 25) takes the keys once clicked into.
    scriptwin_click "$form" 120 32 && typed hello
    if wait_for 5 control_is "$form" 101 '"hello"'; then
        pass "scriptwin: the edit takes the typed text"
    else
        fail "scriptwin: the edit reads $(control_text "$form" 101)"
    fi
    screenshot scriptwin-form.png
    # The button at (20, 60), 100 x 25.
    scriptwin_click "$form" 70 72 || fail "scriptwin: the form has no client area"
    box=$(probe wait --title 'Form Result' --timeout 15000 | cut -d' ' -f1)
    shown=$(probe children "$box" | awk '$3 == "Static" && $4 != "\"\"" { sub(/^[^ ]+ [^ ]+ [^ ]+ /, ""); print; exit }')
    if [[ $shown == "$SCRIPTWIN_RESULT" ]]; then
        pass "scriptwin: the handler copied the text and ended the window: $shown"
    else
        fail "scriptwin: the result box reads ${shown:-nothing}, not $SCRIPTWIN_RESULT"
    fi
    focus_title 'Form Result' && keys Return
    if has_line "$TRACE" 'handler command "Ovrix Form" 102' && has_line "$TRACE" 'scriptwindow end "Ovrix Form" 7'; then
        pass "scriptwin: the handler and the window's end are traced"
    else
        fail "scriptwin: no handler or end line in the trace ($TRACE)"
    fi
    finish_player scriptwin 20
    echo "scriptwin: $((SECONDS - started)) s"
}
