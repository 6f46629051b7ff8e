#!/usr/bin/env bash
# Runs every loader's fuzzer (the "fuzz" preset: clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) for a bounded time, seconds each: $1, default 30.
# Seeds: the files the test suite writes (NORV_FUZZ_SEEDS), the shared fixtures
# when present, and the kept inputs of past findings (tests/Regression/<target>/).
# A finding fails the run and leaves its input in build/fuzz/findings/<target>/;
# once mended, keep that input in tests/Regression/<target>/ so the tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
build=build/fuzz
seeds="$PWD/$build/seeds"
fixtures=../shared/fixtures

tools/build.sh fuzz
tools/build.sh default

# ---------------------------------------------------------------- seeds
rm -rf "$seeds" && mkdir -p "$seeds"
NORV_FUZZ_SEEDS="$seeds" ctest --preset default >/dev/null 2>&1 || true
add_seed() { # <target> <file>
  mkdir -p "$seeds/$1" && cp "$2" "$seeds/$1/$(md5sum <"$2" | cut -c1-16)"
}
if [[ -d $fixtures ]]; then
  while IFS= read -r -d '' file; do
    case "${file,,}" in
      *.fbx) if head -c 18 "$file" | grep -q "Kaydara FBX Binary"; then add_seed fbx-binary "$file"; else add_seed fbx-ascii "$file"; fi ;;
      *.png|*.jpg|*.jpeg|*.gif|*.bmp) add_seed image "$file" ;;
      *.dds) add_seed dds "$file" ;;
      *.tga) add_seed targa "$file" ;;
      *.wav) add_seed wav "$file" ;;
      *.ico|*.cur) add_seed icon "$file" ;;
      *.ani) add_seed cursor "$file" ;;
      *.ttf|*.otf) add_seed font "$file" ;;
      *.mp4|*.mkv|*.avi|*.webm) add_seed video "$file" ;;
    esac
  done < <(find "$fixtures" -type f -size -4M -print0)
else
  echo "fuzz: no $fixtures, seeding from the tests' files only"
fi
# The game's fonts come from Debian packages; the smallest one is seed enough.
font=$(find /usr/share/fonts -name '*.ttf' -size -200k 2>/dev/null | head -n 1 || true)
[[ -n $font ]] && add_seed font "$font"

# ---------------------------------------------------------------- runs
failed=()
printf '%-14s %12s %8s  %s\n' target executions corpus result
for exe in "$build"/fuzz/fuzz-*; do
  target="${exe##*/fuzz-}"
  corpus="$build/corpus/$target" findings="$build/findings/$target" log="$build/findings/$target.log"
  mkdir -p "$corpus" "$findings" "$seeds/$target"
  inputs=("$corpus" "$seeds/$target")
  [[ -d tests/Regression/$target ]] && inputs+=("tests/Regression/$target")
  result=ok
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -close_fd_mask=3 \
    -artifact_prefix="$findings/" "${inputs[@]}" >"$log" 2>&1 || { result="FINDING (see $log)"; failed+=("$target"); }
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  printf '%-14s %12s %8s  %s\n' "$target" "${executions:-?}" "$(ls "$corpus" | wc -l)" "$result"
done
if ((${#failed[@]})); then
  echo "fuzz: findings in ${failed[*]}" >&2
  exit 1
fi
