#!/usr/bin/env bash
# Runs one command with a Wine prefix and a virtual X display of its own:
#
#   scripts/with-wine.sh [--timeout SECONDS] COMMAND [ARGS...]
#
# Inside the command, DISPLAY names a fresh Xvfb display (1280x1024x24),
# WINEPREFIX a prefix under the build folder (initialised once, on first use),
# WINE the wine64 loader, and /usr/lib/wine is on PATH. Afterwards the Wine
# server of the prefix and the Xvfb are always stopped, whatever the command
# did. Every wait is bounded: the command by --timeout (default 600 s), the
# prefix initialisation and the display start by fixed limits.
#
# Environment: OVRIX_WINE_PREFIX overrides the prefix folder (default
# build/wine-prefix); runs that may overlap should each use their own.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
TIMEOUT=600
if [[ ${1:-} == --timeout ]]; then
    TIMEOUT=$2
    shift 2
fi
if [[ $# -eq 0 ]]; then
    echo "usage: with-wine.sh [--timeout SECONDS] COMMAND [ARGS...]" >&2
    exit 2
fi

WINE_DIR=/usr/lib/wine
export WINE=$WINE_DIR/wine64
WINESERVER=$WINE_DIR/wineserver
[[ -x $WINESERVER ]] || WINESERVER=$WINE_DIR/wineserver64
if [[ ! -x $WINE ]]; then
    echo "with-wine.sh: $WINE not found (run scripts/setup.sh)" >&2
    exit 1
fi
export PATH=$WINE_DIR:$PATH
export WINEPREFIX=${OVRIX_WINE_PREFIX:-$ROOT/build/wine-prefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No downloads of the .NET and HTML engines when the prefix is created.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

XVFB_PID=
cleanup() {
    # The Wine server may still hold processes that outlived the command.
    timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
    if [[ -n $XVFB_PID ]]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}
trap cleanup EXIT

# A display number that no X server (and no stale lock) uses.
pick_display() {
    local n
    for n in $(seq 90 189); do
        if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

start_xvfb() {
    local n tries
    for tries in 1 2 3; do
        n=$(pick_display) || { echo "with-wine.sh: no free X display" >&2; return 1; }
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 1 100); do
            if [[ -e /tmp/.X11-unix/X$n ]]; then
                export DISPLAY=":$n"
                return 0
            fi
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    done
    echo "with-wine.sh: Xvfb did not start" >&2
    return 1
}

start_xvfb

if [[ ! -f $WINEPREFIX/system.reg ]]; then
    mkdir -p "$WINEPREFIX"
    echo "with-wine.sh: initialising the Wine prefix $WINEPREFIX" >&2
    timeout 180 "$WINE" wineboot -i >/dev/null 2>&1 || {
        echo "with-wine.sh: wineboot -i failed or timed out" >&2
        exit 1
    }
    timeout 60 "$WINESERVER" -w || true
fi

status=0
timeout --kill-after=10 "$TIMEOUT" "$@" || status=$?
if [[ $status -eq 124 ]]; then
    echo "with-wine.sh: the command did not end within $TIMEOUT s" >&2
fi
exit "$status"
