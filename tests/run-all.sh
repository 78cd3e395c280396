#!/usr/bin/env bash
# Runs every test of the project, from a fresh machine on:
#   1. installs what is missing (scripts/setup.sh);
#   2. builds the native preset and runs its tests (unit, simulated-desktop
#      and command-line tool tests) through ctest;
#   3. runs the unit tests again under AddressSanitizer and UBSan;
#   4. builds the loader and the source compiler fuzz targets with clang and
#      fuzzes each for a bounded time;
#   5. builds the core, the unit tests and the fuzz target's replayer as
#      32-bit x86 code (the shipped player is 32-bit) and runs the tests and
#      the fuzzer's corpus under user-mode emulation, since these machines
#      execute no 32-bit programs;
#   6. builds both Windows presets and runs the Windows tests under wine64.
# Ends with one line "total: N passed, M failed" and a non-zero exit status
# when anything failed.
#
# Environment: OVRIX_JOBS (default 2), OVRIX_FUZZ_SECONDS (default 60),
# OVRIX_SKIP_WINE=1 to leave out step 6.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
JOBS=${OVRIX_JOBS:-2}
FUZZ_SECONDS=${OVRIX_FUZZ_SECONDS:-60}
LOGS=$ROOT/build/test-logs
mkdir -p "$LOGS"

total_passed=0
total_failed=0
stage_failed=()
count() {  # count STAGE PASSED FAILED
    total_passed=$((total_passed + $2))
    total_failed=$((total_failed + $3))
    if [[ $3 -ne 0 ]]; then stage_failed+=("$1"); fi
}
banner() { echo; echo "=== $* ==="; }
# run_unit_tests STAGE COMMAND...: runs a unit-test binary and counts its
# passed tests, or one failure with the log's tail.
run_unit_tests() {
    local stage=$1 log=$LOGS/$1.log
    shift
    if "$@" --gtest_brief=1 >"$log" 2>&1; then
        local n
        n=$(grep -oE "\[  PASSED  \] [0-9]+" "$log" | grep -oE "[0-9]+$")
        echo "all ${n:-?} passed"
        count "$stage" "${n:-1}" 0
    else
        tail -30 "$log"
        count "$stage" 0 1
    fi
}

bash scripts/setup.sh || { echo "setup failed"; echo "total: 0 passed, 1 failed"; exit 1; }

configure_and_build() {  # preset [targets...]
    local preset=$1
    shift
    cmake --preset "$preset" >"$LOGS/configure-$preset.log" 2>&1 &&
        cmake --build --preset "$preset" -j "$JOBS" ${1:+--target "$@"} 2>&1 | tee "$LOGS/build-$preset.log" |
        grep -E "error|warning: unused|FAILED" | head -40
    return "${PIPESTATUS[0]}"
}

banner "native build and tests"
if configure_and_build native; then
    ctest --preset native -j "$JOBS" --timeout 300 2>&1 | tee "$LOGS/ctest-native.log" | tail -15
    summary=$(grep -E "tests passed, [0-9]+ tests failed out of" "$LOGS/ctest-native.log" | tail -1)
    all=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$summary")
    if [[ -z $summary ]]; then count native 0 1; else count native $((all - bad)) "$bad"; fi
else
    count native-build 0 1
fi

banner "unit tests under AddressSanitizer and UBSan"
if configure_and_build native-asan ovrix_tests; then
    ASAN_OPTIONS=detect_leaks=1 run_unit_tests asan timeout 600 build/native-asan/tests/ovrix_tests
else
    count asan-build 0 1
fi

banner "fuzzing the image and stream loaders for ${FUZZ_SECONDS} s"
if configure_and_build fuzz load_fuzz; then
    # The committed seeds (including inputs that once failed) and today's images.
    corpus=$ROOT/build/fuzz/corpus
    mkdir -p "$corpus"
    cp fuzz/corpus/* "$corpus/"
    build/native/tools/ovrix-demo-image -o "$corpus/demo.img" 2>/dev/null
    build/native/tools/ovrix-compile tests/wine/scenes/steps.ovs -o "$corpus/steps.img" 2>/dev/null
    if timeout $((FUZZ_SECONDS + 120)) build/fuzz/fuzz/load_fuzz -max_total_time="$FUZZ_SECONDS" -max_len=8192 \
        -timeout=10 -rss_limit_mb=4096 -artifact_prefix="$LOGS/" "$corpus" >"$LOGS/fuzz.log" 2>&1; then
        tail -1 "$LOGS/fuzz.log"
        count fuzz 1 0
    else
        tail -40 "$LOGS/fuzz.log"
        count fuzz 0 1
    fi
else
    count fuzz-build 0 1
fi

banner "fuzzing the macro source compiler for ${FUZZ_SECONDS} s"
if configure_and_build fuzz source_fuzz; then
    # Seeds: the source form of every committed image, the examples and the
    # golden tests.
    source_corpus=$ROOT/build/fuzz/source-corpus
    mkdir -p "$source_corpus"
    for image in fuzz/corpus/*.img; do
        build/native/tools/ovrix-list --source "$image" >"$source_corpus/$(basename "$image" .img).ovs" 2>/dev/null
    done
    cp examples/*.ovs tests/golden/*.ovs "$source_corpus/" 2>/dev/null
    if timeout $((FUZZ_SECONDS + 120)) build/fuzz/fuzz/source_fuzz -max_total_time="$FUZZ_SECONDS" -max_len=8192 \
        -timeout=10 -rss_limit_mb=4096 -artifact_prefix="$LOGS/source-" "$source_corpus" fuzz/corpus >"$LOGS/source-fuzz.log" 2>&1; then
        tail -1 "$LOGS/source-fuzz.log"
        count source-fuzz 1 0
    else
        tail -40 "$LOGS/source-fuzz.log"
        count source-fuzz 0 1
    fi
else
    count source-fuzz-build 0 1
fi

banner "the core as 32-bit x86 code, under qemu-i386-static"
if configure_and_build native32 ovrix_tests load_replay; then
    run_unit_tests native32 timeout 900 qemu-i386-static build/native32/tests/ovrix_tests
    # The fuzzer's corpus as it stands after the run above (the committed
    # seeds, including inputs that once failed, and what it found), or the
    # seeds alone when the fuzzer could not be built.
    replay_corpus=$ROOT/build/fuzz/corpus
    [[ -d $replay_corpus ]] || replay_corpus=$ROOT/fuzz/corpus
    if timeout 600 qemu-i386-static build/native32/fuzz/load_replay "$replay_corpus" >"$LOGS/native32-replay.log" 2>&1; then
        tail -1 "$LOGS/native32-replay.log"
        count native32-replay 1 0
    else
        tail -20 "$LOGS/native32-replay.log"
        count native32-replay 0 1
    fi
else
    count native32-build 0 1
fi

if [[ ${OVRIX_SKIP_WINE:-0} != 1 ]]; then
    banner "Windows builds"
    configure_and_build win64 || count win64-build 0 1
    configure_and_build win32 || count win32-build 0 1
    banner "Windows tests under wine64"
    bash tests/wine/run_wine_tests.sh 2>&1 | tee "$LOGS/wine.log" | tail -25
    line=$(grep -E "^[0-9]+ passed, [0-9]+ failed$" "$LOGS/wine.log" | tail -1)
    if [[ -z $line ]]; then
        count wine 0 1
    else
        count wine "$(cut -d' ' -f1 <<<"$line")" "$(cut -d' ' -f3 <<<"$line")"
    fi
fi

echo
if [[ ${#stage_failed[@]} -ne 0 ]]; then echo "failed stages: ${stage_failed[*]} (logs in $LOGS)"; fi
echo "total: $total_passed passed, $total_failed failed"
[[ $total_failed -eq 0 ]]
