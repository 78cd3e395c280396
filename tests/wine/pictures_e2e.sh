# Section 6 of run_wine_tests.sh (sourced by it, inside its Wine environment,
# after input_replay.sh and windows_e2e.sh, whose helpers it uses): the
# picture search on the real screen. ovrix-wine-picture shows a known pattern
# at a known place and counts the clicks it gets; the "pictures" image, whose
# search steps hold the same pattern stored at the display's depth, plays in
# one run:
#
#   found     "move click" clicks it once at its centre and LastPictureRect
#             holds its place; "move" only moves there; "click no move"
#             clicks it and puts the cursor back; the "If" form enters its
#             steps when the pattern, stored at the other depth (24 or 32
#             bits), is its second picture; FindScreenImages finds the
#             pattern read from a bitmap file at the same place, once
#   absent    a pattern never shown times out: "continue" goes on (and
#             LastPictureRect is cleared), the "If" form takes the Else,
#             "stop no tip" waits its delay and ends playback
#   stop tip  a second, short run: "stop tip" ends playback without waiting
#             its delay
#
# The script reports what it reads as clipboard texts "key=value" (checked
# with windows_e2e.sh's `reported`). Uses from the caller: WINE, WINEPREFIX,
# WORK, NATIVE, WIN64, PLAYER64, PROBE, COMPILE, pass, fail, probe,
# has_line, line_ms, start_player, finish_player, reported, reported_value (all input_replay.sh).

PICTURE_EXE=$WIN64/tests/ovrix-wine-picture.exe
# The pattern's place and size, as picture_pattern.h has them.
PICTURE_RECT="500 300 532 324"
PICTURE_CENTRE=516,312
PICTURE_ASIDE=100,100  # where the script puts the cursor before each search

check_picture() { expect_reported pictures "$@"; }  # LABEL KEY VALUE

check_picture_trace() {
    local found second missed
    found=$(grep -cE "^[0-9]+ picture found 1 $PICTURE_RECT\$" "$TRACE")
    second=$(grep -cE "^[0-9]+ picture found 2 $PICTURE_RECT\$" "$TRACE")
    missed=$(grep -cE '^[0-9]+ picture missed 1 best ([0-9]+ [0-9]+ [0-9]+|none)$' "$TRACE")
    if [[ $found -eq 3 && $second -eq 1 && $missed -eq 3 ]]; then
        pass "pictures: the trace has 3 \"picture found 1 $PICTURE_RECT\", 1 \"picture found 2 ...\" (the other depth) and 3 \"picture missed 1 best ...\" lines"
    else
        fail "pictures: $found \"found 1\" lines at $PICTURE_RECT (not 3), $second \"found 2\" (not 1), $missed missed lines (not 3)"
        grep -E '^[0-9]+ picture ' "$TRACE" | head -10
    fi
}

check_found_part() {
    local clicks="Ovrix Picture: clicks 1 down $PICTURE_CENTRE up $PICTURE_CENTRE"
    check_picture "\"move click\" clicks the picture once at its centre" move-click "$clicks"
    check_picture "and leaves the cursor there" move-click-cursor "$PICTURE_CENTRE"
    check_picture "LastPictureRect holds the picture's place and size" last-rect 500,300,32,24
    check_picture "\"move\" does not click" move "$clicks"
    check_picture "\"move\" sets the cursor on the centre" move-cursor "$PICTURE_CENTRE"
    check_picture "\"click no move\" clicks at the centre" click-no-move \
        "Ovrix Picture: clicks 2 down $PICTURE_CENTRE up $PICTURE_CENTRE"
    check_picture "\"click no move\" puts the cursor back" click-no-move-cursor "$PICTURE_ASIDE"
    check_picture "the \"If\" form enters its steps when the picture is found" if-found then
    check_picture "FindScreenImages finds the pattern once" find-count 1
    check_picture "at the same place" find-rect "[Rect - 500,300,532,324]"
}

check_absent_part() {
    check_picture "\"continue\" goes on after a timeout, LastPictureRect cleared" after-continue -1
    check_picture "the \"If\" form takes the Else after a timeout" if-absent else
    local missed ended
    missed=$(line_ms "$TRACE" 'picture missed' 3)
    ended=$(line_ms "$TRACE" 'end$')
    if has_line "$TRACE" 'end$' && ! has_line "$TRACE" 'clipboard "after-stop=' &&
        [[ -n $missed ]] && ((ended - missed >= 450)); then
        pass "pictures: \"stop no tip\" waits its 500 ms delay ($((ended - missed)) ms) and ends playback"
    else
        fail "pictures: \"stop no tip\": missed at ${missed:-never}, ended at ${ended:-never}, or a later step played"
    fi
}

test_stop_tip() {
    start_player stop-tip stop-tip || { fail "stop tip: cannot build the player"; return; }
    finish_player stop-tip 20
    local missed ended
    missed=$(line_ms "$TRACE" 'picture missed 1 best')
    ended=$(line_ms "$TRACE" 'end$')
    if [[ -n $missed && -n $ended ]] && ((ended - missed < 1500)) && ! has_line "$TRACE" 'line step "Step 2'; then
        pass "stop tip: playback ends $((ended - missed)) ms after the miss, without its 3 s delay"
    else
        fail "stop tip: missed at ${missed:-never}, ended at ${ended:-never}, or step 2 played"
    fi
}

run_pictures_tests() {
    if [[ ! -f $PICTURE_EXE || ! -f $PROBE || ! -x $COMPILE || ! -f $PLAYER64 ]]; then
        fail "pictures: needs $PICTURE_EXE, $PROBE, $COMPILE and $PLAYER64"
        return
    fi
    local started=$SECONDS picture_pid window depth
    timeout 60 "$WINE" "$PICTURE_EXE" &
    picture_pid=$!
    window=$(probe wait --class OvrixPicture --timeout 20000)
    depth=$(probe depth)
    if [[ -z $window || -z $depth ]]; then
        fail "pictures: the picture window did not appear (or no display depth: \"$depth\")"
        kill "$picture_pid" 2>/dev/null
        wait "$picture_pid" 2>/dev/null
        return
    fi
    echo "pictures: display depth $depth; window $window"

    if cp "$ROOT/tests/wine/scenes/picture.bmp" "$WINEPREFIX/drive_c/ovrix-picture.bmp" &&
        start_player pictures pictures BITS="$depth" OTHER_BITS=$((depth == 32 ? 24 : 32)); then
        finish_player pictures 30
        check_picture_trace
        check_found_part
        check_absent_part
    else
        fail "pictures: cannot build the player"
    fi
    local title
    title=$(probe wait --class OvrixPicture --timeout 0 | cut -d' ' -f7-)
    if [[ $title == "\"Ovrix Picture: clicks 2 down $PICTURE_CENTRE up $PICTURE_CENTRE\"" ]]; then
        pass "pictures: the picture got two clicks in all"
    else
        fail "pictures: the picture window's title is $title"
    fi
    test_stop_tip
    kill "$picture_pid" 2>/dev/null
    wait "$picture_pid" 2>/dev/null
    echo "pictures: $((SECONDS - started)) s"
}
