#!/usr/bin/env bash
# The demo: installs what is missing, builds the Linux tools and both Windows
# players, compiles the demo macro (examples/demo.ovs) into a copy of the
# 64-bit player, plays it under Wine on a virtual display with the action
# trace on, and photographs the display while it plays. Prints the trace and
# the screenshot's path.
#
# Build folders: build/native, build/win64, build/win32 (override with
# OVRIX_NATIVE_BUILD, OVRIX_WIN64_BUILD, OVRIX_WIN32_BUILD). Output: build/demo.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
NATIVE=${OVRIX_NATIVE_BUILD:-$ROOT/build/native}
WIN64=${OVRIX_WIN64_BUILD:-$ROOT/build/win64}
WIN32=${OVRIX_WIN32_BUILD:-$ROOT/build/win32}
OUT=$ROOT/build/demo
JOBS=${OVRIX_JOBS:-2}

bash scripts/setup.sh

build() {  # preset, folder, targets...
    local preset=$1 dir=$2
    shift 2
    cmake --preset "$preset" -B "$dir" >/dev/null
    cmake --build "$dir" -j "$JOBS" --target "$@"
}
build native "$NATIVE" ovrix-compile ovrix-sim
build win64 "$WIN64" ovrix
build win32 "$WIN32" ovrix

mkdir -p "$OUT"
rm -f "$OUT/trace.txt" "$OUT/screenshot.png"
"$NATIVE/tools/ovrix-compile" examples/demo.ovs --player "$WIN64/src/platform/win32/ovrix.exe" -o "$OUT/ovrix-demo.exe"
# The player loads sqlite3.dll from its own folder for its database functions.
cp "$WIN64/src/platform/win32/sqlite3.dll" "$OUT/"

# Inside the Wine environment: start the player, photograph the display
# whenever one of its windows is visible (Wine names them after the exe),
# keeping the last such picture, then wait for its exit code.
play() {
    local exe=$1 trace=$2 shot=$3
    OVRIX_TRACE=$trace "$WINE" "$exe" &
    local pid=$!
    local taken=0
    for _ in $(seq 1 600); do
        kill -0 "$pid" 2>/dev/null || break
        if [[ -n $(xdotool search --onlyvisible --classname "$(basename "$exe")" 2>/dev/null) ]] &&
            import -window root "$shot.partial.png" 2>/dev/null && kill -0 "$pid" 2>/dev/null; then
            mv "$shot.partial.png" "$shot"
            taken=1
        fi
        sleep 0.05
    done
    local status=0
    wait "$pid" || status=$?
    if [[ $taken -eq 0 ]]; then
        # Playback ended before a picture could be taken: show what is left.
        import -window root "$shot" 2>/dev/null || true
        echo "demo.sh: no player window was seen on the display; the screenshot was taken after playback" >&2
    fi
    rm -f "$shot.partial.png"
    return "$status"
}
export -f play

status=0
OVRIX_WINE_PREFIX=${OVRIX_WINE_PREFIX:-$ROOT/build/wine-prefix} \
    scripts/with-wine.sh --timeout 300 bash -c 'play "$@"' play \
    "$OUT/ovrix-demo.exe" "$OUT/trace.txt" "$OUT/screenshot.png" || status=$?

echo "--- trace ($OUT/trace.txt) ---"
cat "$OUT/trace.txt" 2>/dev/null || echo "(no trace written)"
echo "--- player exit code: $status"
echo "screenshot: $OUT/screenshot.png"
exit "$status"
