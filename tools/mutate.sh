#!/usr/bin/env bash
# Puts single-line faults into the source one at a time, rebuilds NorvTests, runs the
# tests of the fault's area and tells which faults no test noticed ("survived").
# The faulted file is always put back, also on Ctrl-C or a failed build.
#
#   tools/mutate.sh [--preset NAME] [--list FILE] [--jobs N] [WORD]
#
# WORD keeps only the faults whose line in the list contains it (e.g. "Camera").
# Each list line is "file | text on exactly one line | its replacement | gtest filter";
# blank lines and lines starting with # are skipped. Exits 1 when a fault survived
# or an entry no longer matches its file.
set -uo pipefail
cd "$(dirname "$0")/.."

preset=default
list=tools/mutations.txt
jobs=4
while [[ $# -gt 0 ]]; do
  case "$1" in
    --preset) preset="$2"; shift 2 ;;
    --list) list="$2"; shift 2 ;;
    --jobs) jobs="$2"; shift 2 ;;
    -h|--help) sed -n 2,11p "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) break ;;
  esac
done
word="${1:-}"
build="build/$preset"
test_seconds=600

[[ -f "$list" ]] || { echo "mutate: no fault list at $list" >&2; exit 2; }
[[ -d "$build" ]] || { echo "mutate: $build is not configured; run tools/build.sh $preset first" >&2; exit 2; }

faulted=""
backup="$(mktemp)"
restore() {
  # Written over, not copied back with its old time stamp, so that the next build sees it.
  if [[ -n "$faulted" ]]; then
    cat "$backup" >"$faulted"
    faulted=""
  fi
}
trap 'restore; rm -f "$backup"' EXIT
trap 'restore; echo "mutate: interrupted, source restored (rebuild before testing)" >&2; exit 130' INT TERM

rebuild() { cmake --build "$build" -j"$jobs" --target NorvTests >"$build/mutate-build.log" 2>&1; }
binary() { find "$build/tests" -maxdepth 1 -name NorvTests -type f | head -n 1; }

run_tests() {
  (cd "$(dirname "$tests_binary")" && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    timeout "$test_seconds" "./$(basename "$tests_binary")" --gtest_filter="$1" --gtest_brief=1 >/dev/null 2>&1)
}

echo "mutate: building the unfaulted tests first"
rebuild || { echo "mutate: the unfaulted build fails, see $build/mutate-build.log" >&2; exit 2; }
tests_binary="$(binary)"

# A filter whose tests fail without any fault would count every fault as caught.
declare -A baseline
while IFS= read -r line || [[ -n "$line" ]]; do
  [[ -z "${line// }" || "$line" == \#* ]] && continue
  [[ -n "$word" && "$line" != *"$word"* ]] && continue
  filter="${line##* | }"
  [[ -n "${baseline[$filter]:-}" ]] && continue
  if run_tests "$filter"; then baseline[$filter]=pass; else baseline[$filter]=fail; echo "mutate: '$filter' fails without a fault; its faults are skipped" >&2; fi
done <"$list"

survived=()
stale=()
unbuilt=()
killed=0
number=0
while IFS= read -r line || [[ -n "$line" ]]; do
  [[ -z "${line// }" || "$line" == \#* ]] && continue
  [[ -n "$word" && "$line" != *"$word"* ]] && continue
  number=$((number + 1))
  file="${line%% | *}"; rest="${line#* | }"
  pattern="${rest%% | *}"; rest="${rest#* | }"
  replacement="${rest%% | *}"; filter="${rest#* | }"
  label="$file: '$pattern' -> '$replacement'"

  matches=0
  [[ -f "$file" ]] && matches="$(grep -cF -- "$pattern" "$file")"
  if [[ "$matches" != 1 ]]; then
    echo "[$number] STALE ($matches matching lines) $label"
    stale+=("$label")
    continue
  fi
  if [[ "${baseline[$filter]}" != pass ]]; then
    echo "[$number] skipped, its tests fail unfaulted: $label"
    unbuilt+=("$label")
    continue
  fi

  cp "$file" "$backup"
  faulted="$file"
  PATTERN="$pattern" REPLACEMENT="$replacement" perl -pi -e \
    'BEGIN { $p = $ENV{PATTERN}; $r = $ENV{REPLACEMENT} } s/\Q$p\E/$r/ if index($_, $p) >= 0' "$file"

  if ! rebuild; then
    echo "[$number] does not build: $label"
    unbuilt+=("$label")
  elif run_tests "$filter"; then
    echo "[$number] SURVIVED $label ($filter)"
    survived+=("$label")
  else
    echo "[$number] killed   $label"
    killed=$((killed + 1))
  fi
  restore
done <"$list"

echo "mutate: rebuilding the unfaulted tests"
rebuild || echo "mutate: the final rebuild failed, see $build/mutate-build.log" >&2

echo
echo "mutate: $number faults: $killed killed, ${#survived[@]} survived, ${#unbuilt[@]} not run (no build or failing unfaulted), ${#stale[@]} stale"
for entry in "${survived[@]}"; do echo "  survived: $entry"; done
for entry in "${stale[@]}"; do echo "  stale:    $entry"; done
[[ ${#survived[@]} -eq 0 && ${#stale[@]} -eq 0 ]]
