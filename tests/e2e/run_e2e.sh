#!/usr/bin/env bash
# Runs the end-to-end scenarios (functions test_* in scenarios.sh; E2E_ONLY picks by regex) against
# the real VROK.exe. Needs DISPLAY and the Wine prefix (scripts/test.sh sets both up).
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/common.sh" && vrok_wine_env && . "$here/lib.sh" && . "$here/scenarios.sh"
passed=0 failed=0
for test in $(declare -F | awk '{print $3}' | grep '^test_' | grep -E "${E2E_ONLY:-.}"); do
    E2E_FAILURES=0 started=$SECONDS
    "$test" && [ $E2E_FAILURES -eq 0 ] && result=ok || result=FAIL
    # Every step that can fail says what it waited for and what it saw; one that did not is a defect.
    [ $result = ok ] || [ $E2E_FAILURES -gt 0 ] || printf '    FAIL: %s stopped at a step that said nothing\n' "$test"
    vrok_record_stop
    # A VROK left running must not disturb the next scenario.
    vrok_drv close "${MAIN[@]}" 2>/dev/null; [ "$(exit_code)" != running ] || vrok_drv kill VROK.exe
    [ $result = ok ] && passed=$((passed + 1)) || failed=$((failed + 1))
    printf '%-4s %s (%ss)\n' $result "$test" $((SECONDS - started))
done
echo "e2e: $passed passed, $failed failed"
