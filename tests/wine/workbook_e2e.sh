# A section of run_wine_tests.sh (sourced by it, inside its Wine environment,
# after input_replay.sh, whose helpers it uses): the workbook functions
# against a spreadsheet application of our own, ovrix-wine-sheet-server.dll
# (wine_sheet_server.cpp), registered for the run under the application's
# ProgID, in one player run of the "workbook" image. The script creates a
# workbook, writes and reads cells, rows and columns, counts them, deletes a
# row, a column and a sheet, saves, and opens a file prepared here; what it
# reads it reports on the clipboard ("key=value", one trace line each). The
# saved file is checked from the Linux side. The server is unregistered
# again at the end, and the check that nothing is registered follows: the
# next section (ole_e2e.sh) plays the workbook functions without any
# application and expects no value.
# Uses from the caller: WINE, WINEPREFIX, WORK, WIN64, PLAYER64, COMPILE,
# pass, fail, has_line, start_player, finish_player.

SHEET_CLSID='{5E1F0C7A-3B2D-4C8E-9A61-0D2F4B7C8E15}'
SHEET_SERVER=$WIN64/tests/ovrix-wine-sheet-server.dll

workbook_reg() { timeout 60 "$WINE" reg "$@" >/dev/null 2>&1; }

workbook_check() { expect_reported workbook "$@"; }  # LABEL KEY VALUE

workbook_unregister() {
    workbook_reg delete 'HKCR\Excel.Application' /f
    workbook_reg delete "HKCR\\CLSID\\$SHEET_CLSID" /f
}

run_workbook_tests() {
    if [[ ! -x $COMPILE || ! -f $PLAYER64 || ! -f $SHEET_SERVER ]]; then
        fail "workbook: needs $COMPILE, $PLAYER64 and $SHEET_SERVER"
        return
    fi
    local started=$SECONDS drive=$WINEPREFIX/drive_c
    local saved=$drive/ovrix-sheet.xlsx
    rm -f "$saved"
    cp "$SHEET_SERVER" "$drive/ovrix-sheet-server.dll"
    printf '[Data]\n1,1=x\n2,2=from linux\n3,1=y\n' >"$drive/ovrix-sheet-in.xlsx"
    workbook_reg add 'HKCR\Excel.Application\CLSID' /ve /d "$SHEET_CLSID" /f &&
        workbook_reg add "HKCR\\CLSID\\$SHEET_CLSID\\InprocServer32" /ve /d 'C:\ovrix-sheet-server.dll' /f &&
        workbook_reg add "HKCR\\CLSID\\$SHEET_CLSID\\InprocServer32" /v ThreadingModel /d Both /f ||
        fail "workbook: cannot register the server"

    start_player workbook workbook || { fail "workbook: cannot build the player"; workbook_unregister; return; }
    finish_player workbook 60
    workbook_unregister

    if grep -qE 'clipboard "book=.+"' "$TRACE"; then pass "workbook: XLS_Create gives a workbook"; else fail "workbook: XLS_Create gives no workbook"; fi
    workbook_check "XLS_SetCell then XLS_GetCell" cell alpha
    workbook_check "a cell never set reads empty" empty-cell ''
    workbook_check "XLS_SetRow, XLS_GetRow up to the last used column" row '4:r1,r2,r3,'
    workbook_check "XLS_SetColumn, XLS_GetColumn up to the last used row" column '3:c1,c2,'
    workbook_check "XLS_SheetRowCount" rows 3
    workbook_check "XLS_SheetColumnCount" columns 4
    workbook_check "XLS_DelRow and XLS_DelColumn move the cells up and left" moved 'gamma,r2,r3'
    workbook_check "the counts after the deletions" counts-after '2,3'
    workbook_check "XLS_AddSheet makes a sheet that takes cells" extra 'on extra é'
    workbook_check "an added empty sheet counts one row" before-delete 1
    workbook_check "XLS_DelSheet deletes it: its count gives no value" deleted ''
    workbook_check "a missing sheet gives no value" no-sheet ''
    workbook_check "XLS_Open reads a file written from outside" opened 'from linux,3'
    workbook_check "XLS_Open of a missing file gives no value" no-file ''
    workbook_check "the script goes on to its end" end played
    local expected
    expected=$(printf '[Sheet1]\n1,2=gamma\n1,3=c2\n2,1=r2\n2,2=r3\n[Extra]\n1,1=on extra é')
    if [[ -f $saved && $(cat "$saved") == "$expected" ]]; then
        pass "workbook: XLS_Save writes the sheets and cells to the workbook's file"
    else
        fail "workbook: $saved holds $(head -c 300 "$saved" 2>/dev/null | tr '\n' '|')"
    fi
    if grep -qiE '^[0-9]+ ole call "[^"]*" "#0x1EE"$' "$TRACE" && grep -qiE '^[0-9]+ ole call "[^"]*" "#0x11B"$' "$TRACE"; then
        pass "workbook: Worksheets and Save are called by dispatch identifier"
    else
        fail "workbook: no calls by dispatch identifier in $TRACE"
    fi
    if workbook_reg query 'HKCR\Excel.Application'; then
        fail "workbook: the server is still registered"
    else
        pass "workbook: the server is unregistered for the sections after this one"
    fi
    echo "workbook: $((SECONDS - started)) s"
}
