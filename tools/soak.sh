#!/usr/bin/env bash
# Soaks the whole game: replays the recorded playthrough scripts in a loop, from
# the main menu each time, for a while under LeakSanitizer, and fails on a leak
# report, a crash, a stall (a script's stage not reached, or no output for
# --stall seconds), or resident memory that grows after the first pass by more
# than --tolerance percent. Prints each pass's frames, seconds and RSS.
#
#   tools/soak.sh [--seconds N] [--tolerance PERCENT] [--stall N] [--build DIR] [SCRIPT...]
#
# SCRIPT...: the scripts of a pass (default: the playthrough's order file). When
# the last one does not end at the main menu (the order does not reach the
# ending yet), a pass goes back to it through the pause menu.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=600
tolerance=5
stall=300
build=build/asan
scripts=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --tolerance) tolerance=$2; shift 2 ;;
    --stall) stall=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    -*) echo "usage: tools/soak.sh [--seconds N] [--tolerance PERCENT] [--stall N] [--build DIR] [SCRIPT...]" >&2; exit 2 ;;
    *) scripts+=("$1"); shift ;;
  esac
done
for number in "$seconds" "$tolerance" "$stall"; do
  [[ "$number" =~ ^[0-9]+$ ]] || { echo "soak: not a whole number: $number" >&2; exit 2; }
done

folder=tests/Game/playthrough/scripts
if [[ ${#scripts[@]} -eq 0 ]]; then
  while read -r line; do
    line=${line%%#*}
    line=$(echo "$line" | xargs)
    [[ -n "$line" ]] && scripts+=("$folder/$line")
  done < "$folder/Playthrough.txt"
fi
[[ ${#scripts[@]} -gt 0 ]] || { echo "soak: no scripts to play" >&2; exit 2; }
if [[ "$(basename "${scripts[-1]}")" != Ending.txt ]]; then
  echo "soak: the scripts end before the ending ($(basename "${scripts[-1]}")); each pass returns to the menu from there"
  scripts+=(tools/soak/ToMenu.txt)
fi

player=$build/tools/playthrough/NorvPlayScript
[[ -x "$player" ]] || { echo "soak: $player is not built (cmake --preset asan && cmake --build build/asan --target NorvPlayScript)" >&2; exit 2; }

log=$(mktemp --tmpdir norv-soak.XXXXXX.log)
echo "soak: ${seconds} s, RSS tolerance ${tolerance}%, log $log"
echo "soak: $(for s in "${scripts[@]}"; do basename "$s"; done | xargs)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 LP_NUM_THREADS=0 MESA_SHADER_CACHE_DISABLE=true \
  "$player" --size 320x180 --draw-every 16 --every 600 \
  --loop-seconds "$seconds" --restart tools/soak/Restart.txt "${scripts[@]}" > "$log" 2>&1 &
pid=$!

# Every pass line as it comes; a run silent for too long is a stall.
shown=0
stalled=0
while kill -0 "$pid" 2>/dev/null; do
  sleep 5
  lines=$(grep -c '^loop ' "$log" || true)
  if [[ $lines -gt $shown ]]; then
    grep '^loop ' "$log" | tail -n +"$((shown + 1))"
    shown=$lines
  fi
  if [[ $(( $(date +%s) - $(stat -c %Y "$log") )) -gt $stall ]]; then
    echo "soak: FAILED: no output for ${stall} s: stalled"
    kill -ABRT "$pid" 2>/dev/null || true
    stalled=1
    break
  fi
done
status=0
wait "$pid" || status=$?
grep '^loop ' "$log" | tail -n +"$((shown + 1))" || true

failed=$stalled
if grep -q 'LeakSanitizer\|AddressSanitizer\|runtime error:' "$log"; then
  echo "soak: FAILED: sanitizer report:"
  grep -A30 -m1 'LeakSanitizer\|AddressSanitizer\|runtime error:' "$log"
  failed=1
fi
if grep -q '^STALLED' "$log"; then
  echo "soak: FAILED: $(grep -m1 '^STALLED' "$log")"
  failed=1
fi
if [[ $status -ne 0 && $failed -eq 0 ]]; then
  echo "soak: FAILED: exit status $status"
  tail -20 "$log"
  failed=1
fi
# Resident memory after each pass against the first pass's.
read -r passes growth < <(grep '^loop ' "$log" | awk -v tolerance="$tolerance" '
  { rss = $NF; if (NR == 1) first = rss; else if (rss > worst) worst = rss }
  END { printf "%d %s\n", NR, (NR > 1 && worst > first * (1 + tolerance / 100)) ? sprintf("%.1f", 100 * (worst / first - 1)) : "-" }')
if [[ $failed -eq 0 && $passes -lt 2 ]]; then
  echo "soak: FAILED: $passes pass(es) in ${seconds} s: too few to see growth"
  failed=1
fi
if [[ "$growth" != - ]]; then
  echo "soak: FAILED: resident memory grew ${growth}% after the first pass (tolerance ${tolerance}%)"
  failed=1
fi
[[ $failed -eq 0 ]] && echo "soak: passed: $passes passes, no leak, RSS within ${tolerance}% of the first pass"
exit $failed
