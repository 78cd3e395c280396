#!/bin/sh
# End-to-end checks of the command-line tools: packing into and extracting
# from a player, refusing bad input without leaving output behind, listing
# and simulating an image, and the source form's round trips.
#   tools_test.sh PACK LIST SIM DEMO WORKDIR COMPILE
set -u
PACK=$1 LIST=$2 SIM=$3 DEMO=$4 WORK=$5 COMPILE=$6
DOCS=$(cd "$(dirname "$0")/../../docs" && pwd)
CORPUS=$(cd "$(dirname "$0")/../../fuzz/corpus" && pwd)
WINE_TESTS=$(cd "$(dirname "$0")/../wine" && pwd)
rm -rf "$WORK" && mkdir -p "$WORK" && cd "$WORK" || exit 1
passed=0 failed=0
check() {  # check NAME COMMAND...: the command must succeed
    name=$1; shift
    if "$@" >/dev/null 2>&1; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $name"; fi
}
refuses() {  # refuses NAME OUTPUT COMMAND...: must fail, with a message and no OUTPUT left
    name=$1 out=$2; shift 2
    if "$@" >err.txt 2>&1; then
        failed=$((failed + 1)); echo "FAIL: $name (succeeded)"
    elif [ -e "$out" ] || [ -e "$out.partial" ] || ! grep -q "ovrix-pack:" err.txt; then
        failed=$((failed + 1)); echo "FAIL: $name (output left behind or no message)"; cat err.txt
    else
        passed=$((passed + 1))
    fi
}

"$DEMO" -o demo.img || { echo "FAIL: demo image"; exit 1; }

# A stand-in player: a small PE file whose ".ovrix" section is the slot.
python3 - <<'PY'
import struct
marker = bytes.fromhex("eeeede273aab0bc24e057f2526bbeeee")
slot = marker + bytes(10485760 - 16)
hdr = bytearray(0x200)
hdr[0:2] = b"MZ"
struct.pack_into("<I", hdr, 0x3C, 0x80)
hdr[0x80:0x84] = b"PE\0\0"
struct.pack_into("<HH", hdr, 0x84, 0x14C, 1)        # machine, one section
struct.pack_into("<H", hdr, 0x94, 0xE0)             # size of the optional header
sec = 0x80 + 24 + 0xE0
hdr[sec:sec + 8] = b".ovrix\0\0"
struct.pack_into("<IIII", hdr, sec + 8, len(slot), 0x1000, len(slot), 0x200)
open("player.exe", "wb").write(bytes(hdr) + slot + b"tail")
open("twice.exe", "wb").write(b"MZ" + marker + bytes(64) + marker + bytes(10485760))
open("nomarker.exe", "wb").write(b"MZ" + bytes(1000))
open("big.img", "wb").write(bytes(10485757))
open("max.img", "wb").write(struct.pack("<II", 0x524550, 4) + struct.pack("<I", 3) + bytes(10485756 - 12))
PY

check "pack" "$PACK" player.exe demo.img -o packed.exe
check "extract" "$PACK" --extract packed.exe -o back.img
check "extracted image is the packed one" cmp demo.img back.img
check "player keeps its size" test "$(wc -c <packed.exe)" -eq "$(wc -c <player.exe)"
check "pack the largest image" "$PACK" player.exe max.img -o packed-max.exe
check "list the largest image" sh -c "'$LIST' packed-max.exe | grep -q 'REP   3'"
check "an unfilled player holds an empty image" sh -c "'$LIST' player.exe | grep -q 'image: 0 bytes'"
refuses "image too big" out1.exe "$PACK" player.exe big.img -o out1.exe
refuses "no marker" out2.exe "$PACK" nomarker.exe demo.img -o out2.exe
refuses "marker twice" out3.exe "$PACK" twice.exe demo.img -o out3.exe
refuses "extract from a file without slot" out4.img "$PACK" --extract nomarker.exe -o out4.img

# Listing and simulation of the same image, raw or packed.
check "list settings" sh -c "'$LIST' demo.img | grep -q '^  REP   1$'"
check "list defaults" sh -c "'$LIST' demo.img | grep -q '^  HKSK  113 (default)$'"
check "list packed = list raw" sh -c "'$LIST' packed.exe | tail -n +2 >a.txt && '$LIST' demo.img | tail -n +2 >b.txt && cmp a.txt b.txt"
check "tsv paths" sh -c "'$LIST' --tsv demo.img | cut -f2 | tr '\n' ' ' | grep -q '^1 2 3 3.1 4 5 5.1 6 6.1 7 8 9 10 11 12 13 14 $'"
check "sim ends" sh -c "'$SIM' demo.img | tail -1 | grep -q ' end$'"
check "sim packed = sim raw" sh -c "'$SIM' packed.exe >a.txt && '$SIM' demo.img >b.txt && cmp a.txt b.txt"

# A runaway script: repeat by time for ten hours, stopped by --max-ms.
python3 - <<'PY'
import struct
def rec(tag, data): return struct.pack("<Ii", tag, len(data)) + data
stream = rec(0x525651, b"\0\0\0\0") + rec(0x564552, struct.pack("<I", 119))
img = rec(0x53000000, stream) + rec(0x524550, struct.pack("<I", 0xFFFFFFFF)) + rec(0x52544D, struct.pack("<q", 36000000))
open("runaway.img", "wb").write(img)
PY
"$SIM" --max-ms 5000 runaway.img >out.txt 2>err.txt
status=$?
check "runaway stops with status 3" test "$status" -eq 3
check "runaway says why" grep -q "max-ms 5000" err.txt
check "runaway ends playback" sh -c "tail -1 out.txt | grep -q ' end$'"

# A described desktop: one relative mouse move, from where the file puts the
# cursor.
python3 - <<'PY'
import struct
def rec(tag, data): return struct.pack("<Ii", tag, len(data)) + data
def u32(value): return struct.pack("<I", value & 0xFFFFFFFF)
move = rec(0x54595045, u32(4)) + rec(0x444C59, u32(0)) + rec(0x4F465358, u32(10)) + rec(0x4F465359, u32(-20))
stream = rec(0x525651, b"\0\0\0\0") + rec(0x564552, u32(119)) + rec(0x49000000, move)
open("move.img", "wb").write(rec(0x53000000, stream))
PY
printf '{"cursor": [300, 400], "screen": {"width": 800, "height": 600}}\n' >desk.json
check "sim: cursor from the start" sh -c "'$SIM' move.img | grep -q '^[0-9]* cursor 10 -20$'"
check "sim --desktop: cursor from the file" sh -c "'$SIM' --desktop desk.json move.img | grep -q '^[0-9]* cursor 310 380$'"
check "sim --desktop and --screen together" sh -c "'$SIM' --screen 640x480 --desktop desk.json move.img | grep -q ' cursor 310 380$'"
sed -n '/^```json$/,/^```$/p' "$DOCS/desktop-file.md" | sed '1d;$d' >example.json
# The screens the example names, beside it: a small PNG and a bitmap file.
python3 - <<'PY'
import struct, zlib
def chunk(kind, data): return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
rows = b"".join(b"\0" + bytes([0, 128, 255]) * 4 for _ in range(3))
open("desk.png", "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 4, 3, 8, 2, 0, 0, 0))
                             + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
pixels = (bytes([255, 0, 0]) * 4) * 3
open("save-dialog.bmp", "wb").write(b"BM" + struct.pack("<IHHIIiiHHIIiiII", 54 + len(pixels), 0, 0, 54, 40, 4, 3, 1, 24,
                                                              0, len(pixels), 0, 0, 0, 0) + pixels)
PY
check "the documented example is a good file" sh -c "test -s example.json && '$SIM' --desktop example.json move.img | grep -q ' end$'"

# The demo waits for Notepad after opening it: a described Notepad that shows
# up at 4 s is found then (the hidden one never), where a bare desktop times
# the wait out.
cat >notepad.json <<'JSON'
{"windows": [{"title": "Hidden - Notepad", "visible": false},
             {"title": "Later - Notepad", "class": "Notepad", "appear_ms": 4000}]}
JSON
check "sim: the demo's window wait times out" sh -c "'$SIM' demo.img | grep -q 'Wait for the window timeout'"
check "sim --desktop: the demo finds the described window when it appears" \
    sh -c "'$SIM' --desktop notepad.json demo.img >notepad.txt && grep -q '^40[0-9][0-9] window activate \"Later - Notepad\"$' notepad.txt && ! grep -q 'window timeout' notepad.txt"

printf '{"windows": [\n  {"title": "Untitled - Notepad", "rect": [100, 100, 800]}\n]}\n' >broken.json
"$SIM" --desktop broken.json move.img >out.txt 2>err.txt
status=$?
check "broken desktop file: status 2" test "$status" -eq 2
check "broken desktop file: file, place and expectation" grep -qxF \
    "ovrix-sim: broken.json: windows[0].rect: expected an array of 4 integers (left, top, width, height)" err.txt
check "broken desktop file: nothing played" test ! -s out.txt
printf '{"windows": [\n  {"title": "a",}\n]}\n' >syntax.json
"$SIM" --desktop syntax.json move.img >out.txt 2>err.txt
status=$?
check "desktop file syntax error: status 2" test "$status" -eq 2
check "desktop file syntax error: line and column" grep -q "^ovrix-sim: syntax.json: line 2, column 17: " err.txt
"$SIM" --desktop missing.json move.img >out.txt 2>err.txt
check "missing desktop file: status 2" test "$?" -eq 2
# A screen image is read from beside the description, before anything plays.
mkdir -p shots
cp example.json shots/desk.json
"$SIM" --desktop shots/desk.json move.img >out.txt 2>err.txt
status=$?
check "screen image beside the file: status 2 when it is not there" test "$status" -eq 2
check "screen image beside the file: named as written" grep -qF \
    'ovrix-sim: shots/desk.json: screen.image: expected an image file (PNG, BMP, JPEG or GIF) that can be read: "desk.png"' err.txt
cp desk.png save-dialog.bmp shots/
check "screen images beside the file are found" sh -c "'$SIM' --desktop shots/desk.json move.img | grep -q ' end$'"

# The source form. Listing then compiling gives back the same bytes for every
# image we have (and for any file taken as an image); compiling, listing and
# compiling again gives identical bytes. The Windows end-to-end scenes must
# compile, with a value for every placeholder any of them has.
mkdir -p scenes
for scene in "$WINE_TESTS"/scenes/*.ovs; do
    scene=$(basename "$scene" .ovs)
    check "Windows scene $scene compiles" "$WINE_TESTS/scene_image.sh" "$COMPILE" "$scene" "scenes/$scene.img" \
        X=12 Y=34 PORT=8000 BITS=24 OTHER_BITS=32 VALUE=4206592 READONLY=4210688
done
round_trip() {  # round_trip IMAGE: list --source, compile, compare
    "$LIST" --source "$1" >rt.ovs && "$COMPILE" rt.ovs -o rt.img && cmp -s "$1" rt.img &&
        "$LIST" --source rt.img >rt2.ovs && cmp -s rt.ovs rt2.ovs
}
for image in demo.img scenes/*.img "$CORPUS"/*; do
    check "source round trip: $(basename "$image")" round_trip "$image"
done
check "source of a packed player = source of its image" sh -c \
    "'$LIST' --source packed.exe >a.ovs && '$LIST' --source demo.img >b.ovs && cmp a.ovs b.ovs"
check "compile into a player" "$COMPILE" b.ovs --player player.exe -o compiled.exe
check "compiled player holds the image" sh -c "'$PACK' --extract compiled.exe -o c.img && cmp c.img demo.img"
check "the demo's source compiles to the demo image" sh -c "'$COMPILE' '$DOCS/../examples/demo.ovs' -o d.img && cmp d.img demo.img"

# A picture goes to a PNG file beside the source and compiles back from it.
printf '%s\n' 'script 0' '  version 119' \
    '  SearchPic picture=hex"57000000 04000000 01000000 48000000 04000000 01000000 50420000 04000000 20000000 58495000 04000000 0a141eff"' \
    >pic.ovs
mkdir -p listed
check "compile a picture given inline" "$COMPILE" pic.ovs -o pic.img
check "list with pictures beside the source" "$LIST" --source pic.img -o listed
check "the picture is a PNG file" sh -c "head -c 4 listed/pic-1.png | grep -q PNG && grep -q 'picture=picture\"pic-1.png\"' listed/pic.ovs"
check "the listed folder compiles to the same image" sh -c "'$COMPILE' listed/pic.ovs -o pic2.img && cmp pic.img pic2.img"

# The language's document shows every step kind; its example compiles as it stands.
mkdir -p kinds && cp listed/pic-1.png kinds/demo-1.png
{ printf '%s\n' 'script 0' '  version 119'
  sed -n '/^### Every step kind/,/^| Word/p' "$DOCS/source-language.md" | sed -n '/^```$/,/^```$/p' | sed '1d;$d;s/^/  /'
} >kinds/kinds.ovs
check "the document's example of every step kind compiles" "$COMPILE" kinds/kinds.ovs -o kinds.img

# Mistakes: every one reported with its place, status 2, nothing written.
printf '%s\n' 'script 0' '  MouseClik' '  MouseClick buton=left' '  Wait ms=x' >bad.ovs
"$COMPILE" bad.ovs -o bad.img 2>err.txt
status=$?
check "compile errors: status 2" test "$status" -eq 2
check "compile errors: no output left" test ! -e bad.img -a ! -e bad.img.partial
check "compile errors: all three, with places" sh -c \
    "grep -c '^bad.ovs:[234]:[0-9]*: error: ' err.txt | grep -qx 3 && grep -qF 'did you mean button?' err.txt"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
