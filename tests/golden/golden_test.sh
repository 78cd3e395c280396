#!/bin/sh
# Macros written as source beside the trace they must produce: each NAME.ovs
# here is compiled, played on the simulated desktop (against
# NAME.desktop.json when there is one) and its trace compared with
# NAME.trace. With --update the traces are written instead; read the
# differences before committing them. A macro may play for up to a day of
# virtual time.
#   golden_test.sh COMPILE SIM WORKDIR [--update]
set -u
COMPILE=$1 SIM=$2 WORK=$3 UPDATE=${4:-}
HERE=$(cd "$(dirname "$0")" && pwd)
rm -rf "$WORK" && mkdir -p "$WORK" || exit 1
passed=0 failed=0
for source in "$HERE"/*.ovs; do
    name=$(basename "$source" .ovs)
    set -- "$WORK/$name.img"
    [ -f "$HERE/$name.desktop.json" ] && set -- --desktop "$HERE/$name.desktop.json" "$@"
    if ! "$COMPILE" "$source" -o "$WORK/$name.img" 2>"$WORK/$name.err"; then
        failed=$((failed + 1)); echo "FAIL: $name does not compile"; cat "$WORK/$name.err"; continue
    fi
    "$SIM" --max-ms 86400000 "$@" >"$WORK/$name.trace" 2>&1
    if [ "$UPDATE" = "--update" ]; then
        cp "$WORK/$name.trace" "$HERE/$name.trace"; echo "wrote $name.trace"
    elif diff -u "$HERE/$name.trace" "$WORK/$name.trace" >"$WORK/$name.diff"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1)); echo "FAIL: $name plays otherwise:"; head -40 "$WORK/$name.diff"
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
