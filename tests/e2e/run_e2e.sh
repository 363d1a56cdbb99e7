#!/usr/bin/env bash
# Runs the end-to-end scenarios (functions test_* in scenarios.sh; E2E_ONLY picks by regex) against
# the real VROK.exe. Needs DISPLAY and the Wine prefix (scripts/test.sh sets both up). Each scenario
# runs in a process group of its own for at most E2E_SECONDS (120): one that overruns (a VROK that
# hangs, a box nobody answers) is ended with all it started and fails, showing the step it was at.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/common.sh" && vrok_wine_env && . "$here/lib.sh" && . "$here/scenarios.sh"
limit=${E2E_SECONDS:-120}
traces=$VROK_BUILD/e2e-traces
mkdir -p "$traces"
export DISPLAY PULSE_SERVER VROK_BUILD
passed=0 failed=0
for test in $(declare -F | awk '{print $3}' | grep '^test_' | grep -E "${E2E_ONLY:-.}"); do
    started=$SECONDS
    setsid bash -c '. "$1/../../scripts/common.sh" && vrok_wine_env && . "$1/lib.sh" && . "$1/scenarios.sh" &&
        scenario "$2" 9>"$3"' _ "$here" "$test" "$traces/$test" &
    group=$!
    while kill -0 "$group" 2>/dev/null && [ $((SECONDS - started)) -lt "$limit" ]; do sleep 0.2; done
    if kill -0 "$group" 2>/dev/null; then
        kill -KILL -- "-$group" 2>/dev/null
        wait "$group" 2>/dev/null
        printf '    FAIL: %s ran over %s s, at (the calls leading there in brackets):\n' "$test" "$limit"
        grep -v '\] sleep ' "$traces/$test" | tail -n 3 | cut -c1-300 | sed 's/^/      /'
        # What the group left: a VROK hanging, a box of it, a help viewer.
        timeout 20 "$VROK_WINE" "$VROK_BIN/vrokdrv.exe" kill VROK.exe >/dev/null 2>&1
        result=FAIL
    else
        wait "$group" && result=ok || result=FAIL
    fi
    [ $result = ok ] && passed=$((passed + 1)) || failed=$((failed + 1))
    printf '%-4s %s (%ss)\n' $result "$test" $((SECONDS - started))
done
echo "e2e: $passed passed, $failed failed"
