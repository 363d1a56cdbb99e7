#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: native unit tests under
# sanitizers, a bounded fuzz run, the Win32 tests under Wine and the end-to-end tests of the
# real VROK.exe in a Wine virtual desktop on Xvfb. Ends with "N passed, N failed".
set -u
. "$(dirname "$0")/common.sh"

FUZZ_SECONDS=${FUZZ_SECONDS:-15}
passed=0
failed=0
failures=()

count() {  # count NAME PASSED FAILED
    passed=$((passed + $2))
    failed=$((failed + $3))
    [ "$3" -gt 0 ] && failures+=("$1: $3 failed")
    return 0
}

# Runs ctest in a build tree and adds its totals.
run_ctest() {
    local name=$1 tree=$2 log="$VROK_BUILD/$1.ctest.log"
    (cd "$tree" && ctest --output-on-failure --timeout 300 -j "${3:-1}") >"$log" 2>&1
    local summary total bad
    summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$summary" ]; then
        tail -n 40 "$log"
        count "$name (ctest did not run)" 0 1
        return
    fi
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
    [ "$bad" -gt 0 ] && grep -E '^\s*[0-9]+ - |\(Failed\)|\(Timeout\)|\(SEGFAULT\)' "$log" | tail -n 40
    vrok_log "$name: $summary"
    count "$name" $((total - bad)) "$bad"
}

# The Win32 tests in one process under Wine (a process each, as ctest runs them, costs a second
# apiece); adds one count per test, and a failure when the run ends early.
run_win32() {
    local log="$VROK_BUILD/win32.log" ok bad
    (cd "$VROK_BIN" && timeout 300 "$VROK_WINE" vrok_win32_tests.exe) >"$log" 2>&1
    ok=$(grep -cE '^\[       OK \] ' "$log")
    bad=$(grep -cE '^\[  FAILED  \] [A-Za-z0-9_]+\.[A-Za-z0-9_]+ \(' "$log")
    [ "$bad" -gt 0 ] && grep -E -B12 '^\[  FAILED  \] [A-Za-z0-9_]+\.[A-Za-z0-9_]+ \(' "$log" | grep -vE '^\[ RUN|^$' | tail -n 60
    vrok_log "win32: $ok passed, $bad failed"
    count win32 "$ok" "$bad"
    grep -qE '^\[==========\] [0-9]+ tests? from .* ran\.' "$log" || { tail -n 20 "$log"; count "win32 (ended early)" 0 1; }
}

cleanup() {
    vrok_stop_wine
    vrok_stop_pulse
    vrok_stop_xvfb
}
trap cleanup EXIT

# The release packages of one build tree: the ZIP and the installer.
vrok_release() {
    (cd "$VROK_BUILD/$1" && cpack && cmake --build . --target installer) >"$VROK_BUILD/package-$1.log" 2>&1
}

started=$(date +%s)
vrok_install_packages || { echo "0 passed, 1 failed"; exit 1; }
mkdir -p "$VROK_BUILD"

# Beside the native build and the single-threaded fuzzers: the 32-bit build and its packages, the
# Wine prefix and, once the native build is done, the win64 build. Their results are counted below.
vrok_log "i686 build (compiled, not run) and the Wine prefix in the background"
( vrok_build_i686 && vrok_release i686 && bash "$VROK_ROOT/tests/package_check.sh" \
    "$VROK_BUILD/i686/package/VROK-3.49-win32.zip" "$VROK_BUILD/i686/package/VROK-3.49-setup-win32.exe" ) \
    >"$VROK_BUILD/i686.log" 2>&1 &
i686_pid=$!
vrok_prefix_create >"$VROK_BUILD/prefix.log" 2>&1 &
prefix_pid=$!

vrok_log "native build (clang, ASan, UBSan)"
native=0
if vrok_build_native; then
    native=1
    run_ctest native "$VROK_BUILD/native" 2
fi
vrok_log "win64 build in the background"
vrok_build_win64 >"$VROK_BUILD/win64.log" 2>&1 &
win64_pid=$!
if [ $native = 1 ]; then
    # Every fuzz target NAME_fuzz has its seed corpus in tests/fuzz/corpus/NAME.
    for seeds in "$VROK_ROOT"/tests/fuzz/corpus/*/; do
        name=$(basename "$seeds")
        vrok_log "fuzzing $name for ${FUZZ_SECONDS}s"
        corpus="$VROK_BUILD/fuzz-corpus/$name"
        mkdir -p "$corpus"
        cp "$seeds"* "$corpus"/
        if "$VROK_BUILD/native/tests/fuzz/${name}_fuzz" -max_total_time="$FUZZ_SECONDS" \
            -artifact_prefix="$VROK_BUILD/fuzz-$name-" "$corpus" >"$VROK_BUILD/fuzz-$name.log" 2>&1; then
            vrok_log "fuzz $name: $(grep -E '^Done [0-9]+ runs' "$VROK_BUILD/fuzz-$name.log")"
            count "fuzz-$name" 1 0
        else
            tail -n 30 "$VROK_BUILD/fuzz-$name.log"
            count "fuzz-$name" 0 1
        fi
    done
else
    count "native build" 0 1
fi

if wait "$i686_pid"; then
    count "i686 build and package" 1 0
else
    tail -n 20 "$VROK_BUILD/i686.log"
    count "i686 build and package" 0 1
fi

vrok_log "waiting for the win64 build"
if wait "$win64_pid"; then
    count "win64 build" 1 0
    vrok_log "release package"
    if vrok_release win64 && bash "$VROK_ROOT/tests/package_check.sh" \
        "$VROK_BUILD/win64/package/VROK-3.49-win64.zip" "$VROK_BUILD/win64/package/VROK-3.49-setup-win64.exe"; then
        count package 1 0
    else
        tail -n 20 "$VROK_BUILD/package-win64.log"
        count package 0 1
    fi
    wait "$prefix_pid"
    vrok_start_xvfb 800x600 && vrok_start_pulse && vrok_prefix_setup 800x600
    run_win32
    vrok_log "end-to-end tests"
    e2e_log="$VROK_BUILD/e2e.log"
    bash "$VROK_ROOT/tests/e2e/run_e2e.sh" 2>&1 | tee "$e2e_log"
    e2e=$(grep -E '^e2e: [0-9]+ passed, [0-9]+ failed' "$e2e_log" | tail -n 1)
    if [ -n "$e2e" ]; then
        count e2e "$(sed -E 's/e2e: ([0-9]+) passed.*/\1/' <<<"$e2e")" \
            "$(sed -E 's/.* ([0-9]+) failed/\1/' <<<"$e2e")"
    else
        count "e2e (did not finish)" 0 1
    fi
else
    cat "$VROK_BUILD/win64.log"
    count "win64 build" 0 1
fi

vrok_log "took $(($(date +%s) - started))s"
for line in "${failures[@]}"; do vrok_log "FAILED $line"; done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
