# Section 8 of run_wine_tests.sh (sourced by it, inside its Wine environment,
# after input_replay.sh and dialogs_e2e.sh, whose helpers it uses): the
# database functions of the packed player, played twice from the "database"
# image (tests/wine/scenes/database.ovs):
#
#   with sqlite3.dll beside the player (the one the win64 build makes): a
#   table made, rows with a NULL and a non-ASCII name inserted and read
#   back, a bad statement giving no value, and the default ADO connection
#   failing (Wine has no SQL Server provider), all shown in the message box
#   "Database", whose text is read from the box itself;
#   without it: the missing-library message box, and no values.
#
# Uses from the caller: WINE, WINEPREFIX, WORK, WIN64, pass, fail, probe,
# has_line, start_player, finish_player, focus_title, keys.

DATABASE_RESULT='"n=[3] a=[1|Zoë|] b=[2|Ned|x] eof=[1] bad=[] ado=[] "'
DATABASE_EMPTY='"n=[] a=[||] b=[||] eof=[] bad=[] ado=[] "'
DATABASE_FILE=$WINEPREFIX/drive_c/ovrix-database.sqlite

# database_box TEXT: the "Database" box shows TEXT; it is closed either way.
database_box() {
    local box shown
    box=$(probe wait --title Database --timeout 20000 | cut -d' ' -f1)
    shown=$(probe children "$box" | awk '$3 == "Static" && $4 != "\"\"" { sub(/^[^ ]+ [^ ]+ [^ ]+ /, ""); print; exit }')
    focus_title Database && keys Return
    [[ $shown == "$1" ]] || { echo "the box reads ${shown:-nothing}"; return 1; }
}

database_with_library() {
    rm -f "$DATABASE_FILE"
    cp "$WIN64/src/platform/win32/sqlite3.dll" "$WORK/" || { fail "database: no sqlite3.dll in the win64 build"; return; }
    start_player database database || { fail "database: cannot build the player"; return; }
    local why
    if why=$(database_box "$DATABASE_RESULT"); then
        pass "database: rows with a NULL and a non-ASCII name read back through sqlite3.dll: $DATABASE_RESULT"
    else
        fail "database: $why, not $DATABASE_RESULT"
    fi
    finish_player database 20
    if has_line "$TRACE" 'db connect "C:\\\\ovrix-database.sqlite"' &&
        has_line "$TRACE" 'line status "Connection is successful"' &&
        has_line "$TRACE" 'db exec "SELEKT 1"' &&
        has_line "$TRACE" 'db connect "Provider=SQLOLEDB;Server=\(local\);Database=master;UID=sa;PWD="' &&
        has_line "$TRACE" 'line status "Connection failed!"'; then
        pass "database: the SQLite connection succeeds, the ADO one fails, both traced"
    else
        fail "database: connections and statements not traced as expected (trace: $TRACE)"
    fi
    [[ -s $DATABASE_FILE ]] && pass "database: the file was written" || fail "database: no $DATABASE_FILE"
}

database_without_library() {
    mkdir -p "$WORK/no-sqlite"
    rm -f "$WORK/no-sqlite/sqlite3.dll"
    start_player no-sqlite/database database || { fail "database: cannot build the player"; return; }
    probe wait --title Ovrix --timeout 20000 >/dev/null
    focus_title Ovrix && keys Return
    local why
    if why=$(database_box "$DATABASE_EMPTY") &&
        has_line "$TRACE" 'msgbox 0x0 "Ovrix" "Can not load the library \\"sqlite3.dll\\"!"'; then
        pass "database: without sqlite3.dll the player says so and the functions give no value"
    else
        fail "database: without sqlite3.dll: ${why:-no missing-library box in $TRACE}"
    fi
    finish_player no-sqlite 20
}

run_database_tests() {
    if [[ ! -f $PROBE || ! -x $COMPILE || ! -f $PLAYER64 ]]; then
        fail "database: needs $PROBE, $COMPILE and $PLAYER64"
        return
    fi
    local started=$SECONDS
    database_with_library
    database_without_library
    echo "database: $((SECONDS - started)) s"
}
