#!/usr/bin/env bash
# Runs every end-to-end test (functions test_* in tests/e2e/test_*.sh) against the real VROK.exe.
# Needs DISPLAY and the Wine prefix (scripts/test.sh sets both up). Ends with "e2e: N passed, N failed".
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/common.sh"
vrok_wine_env
. "$here/lib.sh"

passed=0
failed=0
for file in "$here"/test_*.sh; do
    . "$file"
done
for test in $(declare -F | awk '{print $3}' | grep '^test_' | grep -E "${E2E_ONLY:-.}"); do
    E2E_FAILURES=0
    started=$SECONDS
    "$test"
    status=$?
    # A test that left VROK running must not disturb the next one.
    vrok_drv close VROK "Death to Glitchcorp" >/dev/null 2>&1 && vrok_drv gone VROK - 10000 >/dev/null \
        || pkill -f 'VROK\.exe' 2>/dev/null
    if [ $status -eq 0 ] && [ $E2E_FAILURES -eq 0 ]; then
        passed=$((passed + 1))
        printf 'ok   %s (%ss)\n' "$test" $((SECONDS - started))
    else
        failed=$((failed + 1))
        printf 'FAIL %s (%ss)\n' "$test" $((SECONDS - started))
    fi
done
echo "e2e: $passed passed, $failed failed"
