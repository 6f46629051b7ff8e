#!/usr/bin/env bash
# Runs one test of the sanitizer build (ctest calls it before the test's command).
#
# LeakSanitizer checks for leaks at exit by stopping every thread with a tracer
# that scans their stacks and thread-local storage. On some machines that tracer
# dies ("Tracer caught signal 11", then "LeakSanitizer has encountered a fatal
# error") after the test itself has passed, and it dies the same way on every
# try. Such a run is repeated once without the leak scan, so the test's own
# result and AddressSanitizer's and UndefinedBehaviorSanitizer's checks still
# decide. Any other failure stands as it is.
set -uo pipefail

log=$(mktemp)
trap 'rm -f "$log"' EXIT

"$@" >"$log" 2>&1
status=$?
cat "$log"
[[ $status -eq 0 ]] && exit 0

tracer_died() {
  grep -q "LeakSanitizer has encountered a fatal error" "$log" &&
    grep -q "^\[  PASSED  \]" "$log" &&
    ! grep -q "^\[  FAILED  \]\|ERROR: AddressSanitizer\|ERROR: LeakSanitizer: detected memory leaks\|runtime error:" "$log"
}
tracer_died || exit $status

echo "sanitized-test: the leak checker's exit scan died after the test passed; running it again without that scan" >&2
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$@"
