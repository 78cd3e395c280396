# A section of run_wine_tests.sh (sourced by it, inside its Wine environment,
# after input_replay.sh, whose helpers it uses): the files functions on the
# real disk, in one player run of the "files" image. The script writes a file
# with a non-ASCII name as UTF-16 with its mark, adds to it, reads it back,
# finds it, copies it, sets the copy's last-write time and deletes the file;
# what it reads it reports on the clipboard ("key=value", one trace line
# each). The bytes and the time are checked from the Linux side of the prefix.
# Uses from the caller: WINE, WINEPREFIX, WORK, NATIVE, PLAYER64, COMPILE,
# pass, fail, has_line, start_player, finish_player.

FILES_NAME='ovrix-fïlé-жук.txt'
FILES_COPY=ovrix-files-copy.bin
FILES_TEXT='Grüße € + ж'

run_files_tests() {
    if [[ ! -x $COMPILE || ! -f $PLAYER64 ]]; then
        fail "files: needs $COMPILE and $PLAYER64"
        return
    fi
    local started=$SECONDS drive=$WINEPREFIX/drive_c
    rm -f "$drive/$FILES_NAME" "$drive/$FILES_COPY"
    start_player files files || { fail "files: cannot build the player"; return; }
    finish_player files 30

    if has_line "$TRACE" "file write \"C:\\\\\\\\$FILES_NAME\" 16" &&
        has_line "$TRACE" "file append \"C:\\\\\\\\$FILES_NAME\" 8"; then
        pass "files: the file with a non-ASCII name is written (16 bytes) and added to (8 bytes)"
    else
        fail "files: no successful write and append in the trace ($TRACE)"
    fi
    if reported text "$FILES_TEXT"; then
        pass "files: LoadTextFile reads back \"$FILES_TEXT\""
    else
        fail "files: LoadTextFile gave $(grep -o 'clipboard "text=.*' "$TRACE")"
    fi
    if reported found "$FILES_NAME"; then
        pass "files: the finder finds it by a pattern in other case"
    else
        fail "files: the finder gave $(grep -o 'clipboard "found=.*' "$TRACE")"
    fi
    local expected=$WORK/files.expected
    { printf '\xff\xfe'; printf '%s' "$FILES_TEXT" | iconv -f UTF-8 -t UTF-16LE; } >"$expected"
    if cmp -s "$expected" "$drive/$FILES_COPY"; then
        pass "files: on disk the text is UTF-16LE after the FF FE mark, the addition in the same encoding"
    else
        fail "files: the copy's bytes are $(od -An -tx1 "$drive/$FILES_COPY" 2>&1 | head -2)"
    fi
    local modified
    modified=$(stat -c %Y "$drive/$FILES_COPY" 2>/dev/null)
    if [[ $modified == 1577934245 ]] && has_line "$TRACE" "file time \"C:\\\\\\\\$FILES_COPY\" modify 1577934245"; then
        pass "files: SetFileLastModifyTime set the copy's time to 2020-01-02 03:04:05 UTC"
    else
        fail "files: the copy's last-write time is ${modified:-missing}"
    fi
    if [[ ! -e $drive/$FILES_NAME ]] && has_line "$TRACE" "file delete \"C:\\\\\\\\$FILES_NAME\"" &&
        reported exists False; then
        pass "files: DeleteFile removed it and IsFileExist says so"
    else
        fail "files: the file is not deleted, or IsFileExist did not say False"
    fi
    rm -f "$drive/$FILES_COPY"
    echo "files: $((SECONDS - started)) s"
}
