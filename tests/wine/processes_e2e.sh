# Section 8 of run_wine_tests.sh (sourced by it, inside its Wine environment,
# after input_replay.sh, whose helpers it uses): the processes family on the
# real system, in one player run of the "processes" image.
#
#   notepad   ExecuteFile starts Notepad (its path through %SystemRoot%),
#             OpenProcess opens it by name and finds its module, TaskKill
#             ends it: its window goes and no notepad.exe runs any more
#   commands  a Command writes a file and is waited for; a second one of two
#             lines, waited for too, copies that file, which exists only once
#             the first ended, and then writes a file of its own
#   memory    ovrix-wine-memory's variable and a read-only one are read at the
#             addresses it wrote to a file and then written; the program
#             reports what it holds, and the read-only page's protection
#             after the write
#
# Uses from the caller: WINE, WINEPREFIX, WORK, WIN64, PLAYER64, pass, fail,
# probe, wait_for, start_player, finish_player.

MEMORY_EXE=$WIN64/tests/ovrix-wine-memory.exe

check_process_report() {  # LABEL KEY ALLOWED-VALUES-REGEX
    local value
    value=$(reported_value "$2")
    if [[ $value =~ ^($3)$ ]]; then
        pass "processes: $1 ($2=$value)"
    else
        fail "processes: $1: $2 reported \"$value\""
    fi
}

notepad_gone() { ! pgrep -fi 'notepad\.exe' >/dev/null; }

check_notepad_run() {
    if grep -qE '^[0-9]+ process start "C:\\\\windows\\\\notepad.exe" ""$' <(sed 's/Windows/windows/' "$TRACE") &&
        grep -qE '^[0-9]+ process kill [0-9]+$' "$TRACE"; then
        pass "processes: Notepad started through %SystemRoot% and killed by name"
    else
        fail "processes: no start of Notepad and kill in the trace ($TRACE)"
    fi
    check_process_report "OpenProcess opens it and finds its module" notepad-module "1|True|true"
    # The Wine process of an ended program may take a moment to go.
    if wait_for 10 notepad_gone; then
        pass "processes: no notepad.exe runs after TaskKill"
    else
        fail "processes: notepad.exe still runs after TaskKill"
        timeout 20 "$WINE" taskkill /f /im notepad.exe >/dev/null 2>&1
    fi
}

check_commands() {
    local copy=$WINEPREFIX/drive_c/ovrix-command-copy.txt second=$WINEPREFIX/drive_c/ovrix-command-second.txt
    if [[ $(tr -d '\r\n ' <"$copy" 2>/dev/null) == done ]]; then
        pass "processes: the second command found what the first wrote (the player waited)"
    else
        fail "processes: no copy of the first command's file ($copy)"
    fi
    if grep -qE '^[0-9]+ process start "cmd" "/c copy .*-copy.txt&echo second> .*"$' "$TRACE" && [[ -s $second ]]; then
        pass "processes: the command's second line ran after its first"
    else
        fail "processes: the two-line command did not run as one (no $second)"
    fi
}

check_memory() {  # RESULT-FILE ADDRESS-FILE
    local result=$1 addresses=$2
    check_process_report "ReadProcessMemoryInt reads the variable" memory-read "1234|0x4D2"
    check_process_report "and the read-only one" readonly-read "1111|0x457"
    local before
    before=$(sed -n 's/^.* protect=\(0x[0-9a-f]*\)$/\1/p' "$addresses")
    if wait_for 10 test -s "$result" && grep -q "^value=98765 readonly=2222 protect=$before\$" "$result" &&
        [[ $before != 0x4 && $before != 0x40 ]]; then
        pass "processes: both writes landed and the read-only page has its protection ($before) back"
    else
        fail "processes: the memory program reports \"$(cat "$result" 2>/dev/null)\""
    fi
}

run_processes_tests() {
    if [[ ! -f $MEMORY_EXE || ! -x $COMPILE || ! -f $PLAYER64 ]]; then
        fail "processes: needs $MEMORY_EXE, $COMPILE and $PLAYER64"
        return
    fi
    local started=$SECONDS memory_pid drive=$WINEPREFIX/drive_c
    local addresses=$drive/ovrix-memory-address.txt result=$drive/ovrix-memory-result.txt
    rm -f "$addresses" "$result" "$drive"/ovrix-command*.txt
    timeout 90 "$WINE" "$MEMORY_EXE" 'C:\ovrix-memory-address.txt' 'C:\ovrix-memory-result.txt' &
    memory_pid=$!
    if ! wait_for 20 test -s "$addresses"; then
        fail "processes: the memory program wrote no addresses"
        kill "$memory_pid" 2>/dev/null
        wait "$memory_pid" 2>/dev/null
        return
    fi
    local value readonly
    read -r value readonly _ <"$addresses"
    if start_player processes processes VALUE="$value" READONLY="$readonly"; then
        finish_player processes 60
        check_notepad_run
        check_commands
        check_memory "$result" "$addresses"
    else
        fail "processes: cannot build the player"
    fi
    kill "$memory_pid" 2>/dev/null
    wait "$memory_pid" 2>/dev/null
    echo "processes: $((SECONDS - started)) s"
}
