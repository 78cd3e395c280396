# Section 8 of run_wine_tests.sh (sourced by it, inside its Wine environment,
# after input_replay.sh, whose helpers it uses): automation objects that Wine
# really provides, in one player run of the "ole" scene (scenes/ole.ovs). The
# script reports what it reads on the clipboard, one trace line each:
#
#   a dictionary made, filled by method and by property write, read by
#   property, by method and through OleInvoke; a date, a truth value, a
#   fraction and an array going in and coming back; a refused call and an
#   unknown member giving no value
#   the file system object making C:\ovrix-ole.txt through the text file
#   object one of its calls returns (checked from the Linux side)
#   the shell expanding an environment variable, where Wine registers it
#   an unregistered ProgID and the workbook functions without a spreadsheet
#   application giving no value, after which the script goes on
#
# Uses from the caller: WINE, WINEPREFIX, WORK, pass, fail, has_line,
# start_player, finish_player.

# ole_reported KEY VALUE-REGEX: the script reported KEY=VALUE.
ole_reported() { has_line "$TRACE" "clipboard \"$1=$2\"\$"; }

ole_check() {
    local what=$1 key=$2 value=$3
    if ole_reported "$key" "$value"; then
        pass "ole: $what"
    else
        fail "ole: $what ($key: $(grep -oE "clipboard \"$key=[^\"]*\"" "$TRACE" | head -1))"
    fi
}

run_ole_tests() {
    if [[ ! -x $COMPILE || ! -f $PLAYER64 ]]; then
        fail "ole: needs $COMPILE and $PLAYER64"
        return
    fi
    local started=$SECONDS file="$WINEPREFIX/drive_c/ovrix-ole.txt"
    rm -f "$file"
    OVRIX_OLE=expanded start_player ole ole || { fail "ole: cannot build the player"; return; }
    finish_player ole 60
    local object='\[OleObject - [A-Za-z0-9_]+: 0x[0-9A-F]+\]'
    ole_check "CreateObject makes a dictionary that shows its type and identity" dictionary "$object"
    ole_check "a method call and a property write fill it, a property read counts it" count 2
    ole_check "obj.Item(key) reads an indexed property" item-a 1
    ole_check "OleInvoke reads a property with its arguments" item-b two
    ole_check "an array of keys comes back as an Array" keys b
    ole_check "a truth value comes back as one" exists False
    ole_check "a date goes and comes back as the same date" date-same 1
    ole_check "a truth value goes and comes back" truth True
    ole_check "a fraction goes and comes back" fraction -2.25
    ole_check "an array goes and comes back with its elements" list-back eight
    ole_check "a call the object refuses gives no value" refused ''
    ole_check "an unknown member gives no value" no-member ''
    ole_check "an object returned from a call is an OleObject" file "$object"
    ole_check "the file system object sees the file it wrote" file-exists True
    if [[ -f $file ]] && [[ $(tr -d '\r' <"$file") == 'Written through automation' ]]; then
        pass "ole: the file written through automation reads back from Linux"
    else
        fail "ole: $file holds $(od -c "$file" 2>/dev/null | head -2)"
    fi
    if ole_reported shell ''; then
        echo "ole: WScript.Shell is not registered in this Wine prefix (not tested)"
    else
        ole_check "the shell object expands an environment variable" shell '\[expanded\]'
    fi
    ole_check "an unregistered ProgID gives no value" missing ''
    ole_check "without a spreadsheet application XLS_Open gives no value" workbook ''
    ole_check "and so does a cell of no workbook" cell ''
    ole_check "the script goes on to its end" end played
    if has_line "$TRACE" 'ole create "Excel.Application"' && has_line "$TRACE" 'ole call "Scripting.Dictionary" "Count"'; then
        pass "ole: object creation and member calls are traced"
    else
        fail "ole: no object lines in the trace $TRACE"
    fi
    echo "ole: $((SECONDS - started)) s"
}
