#!/usr/bin/env bash
# Measures the real game from outside, in a window on a virtual X display at
# 1280 x 720 (the settings' size): the time from start to the first presented
# frame, and resident memory (VmRSS and its peak VmHWM from /proc/PID/status) in
# the intro, at the main menu, in every level and with the pause menu over it.
# Levels are reached as a player would, with keys sent to the window: Enter skips
# the intro, the debug key 1 picks the scene that "Level Select" plays, Escape
# pauses.
#
#   tools/perf/memory-and-startup.sh [--bin DIR] [--runs N] [--no-levels] [SCENE...]
#
# --bin DIR: the folder holding the game and its settings (default Bin).
# --runs N: start-up runs (default 5); the best and the median are printed.
# SCENE...: the levels to measure (default: every scene the main menu finds).
# Needs Xvfb and xdotool (Debian packages xvfb, xdotool). The Mesa shader cache is
# warmed by one start before the timed ones.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

bin=Bin
runs=5
levels=1
scenes=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --bin) bin=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --no-levels) levels=0; shift ;;
    -*) echo "usage: tools/perf/memory-and-startup.sh [--bin DIR] [--runs N] [--no-levels] [SCENE...]" >&2; exit 2 ;;
    *) scenes+=("$1"); shift ;;
  esac
done
for tool in Xvfb xdotool cc; do
  command -v "$tool" >/dev/null || { echo "memory-and-startup: $tool is missing (apt-get install xvfb xdotool gcc)" >&2; exit 2; }
done
bin=$(cd "$bin" && pwd)
[[ -x "$bin/Game" ]] || { echo "memory-and-startup: no game in $bin (tools/build.sh default Game)" >&2; exit 2; }

work=$(mktemp -d --tmpdir norv-perf.XXXXXX)
cc -O2 -shared -fPIC -o "$work/FirstFrame.so" "$root/tools/perf/FirstFrame.c" -ldl

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
game=
cleanup() {
  [[ -n "$game" ]] && kill "$game" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

# ---------------------------------------------------------------- start-up
times=()
for ((i = 0; i <= runs; ++i)); do
  line=$(cd "$bin" && NORV_EXIT_AT_FIRST_FRAME=1 LD_PRELOAD="$work/FirstFrame.so" NORV_START_NS=$(date +%s%N) ./Game 2>&1 | grep 'first frame presented' || true)
  ms=$(echo "$line" | grep -o '[0-9.]* ms' | cut -d' ' -f1)
  [[ -n "$ms" ]] || { echo "memory-and-startup: the game presented no frame" >&2; exit 1; }
  [[ $i -gt 0 ]] && times+=("$ms") # the first run warms the shader cache
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
echo "start to first presented frame, ms: ${times[*]}; best $(echo "$sorted" | head -1), median $(echo "$sorted" | sed -n "$(( (runs + 1) / 2 ))p")"

# ---------------------------------------------------------------- memory
rss() { awk '/^VmRSS|^VmHWM/ { printf "%s %.0f MB  ", $1, $2 / 1024 }' "/proc/$game/status"; }
press() { xdotool keydown "$1"; sleep 0.25; xdotool keyup "$1"; sleep 0.25; }
# Waits until resident memory has changed by less than 1 MB for 3 s.
settle() {
  local last=0 still=0 now
  while [[ $still -lt 6 ]]; do
    sleep 0.5
    now=$(awk '/^VmRSS/ { print $2 }' "/proc/$game/status")
    if (( now - last < 1024 && last - now < 1024 )); then still=$((still + 1)); else still=0; fi
    last=$now
  done
}
start_game() {
  (cd "$bin" && exec stdbuf -oL ./Game) > "$work/game.log" 2>&1 &
  game=$!
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name Norv 2>/dev/null | head -1 || true)
    [[ -n "$window" ]] && break
    sleep 0.1
  done
  [[ -n "$window" ]] || { echo "memory-and-startup: no game window" >&2; exit 1; }
  xdotool windowfocus --sync "$window"
}
stop_game() { kill "$game"; wait "$game" 2>/dev/null || true; game=; }

start_game
settle
echo "intro: $(rss)"
press Return
settle
echo "main menu: $(rss)"
if [[ $levels -eq 0 ]]; then
  stop_game
  exit 0
fi
if [[ ${#scenes[@]} -eq 0 ]]; then
  mapfile -t scenes < <(sed -n 's/^Found scene: \([^ ]*\) at.*/\1/p' "$work/game.log")
fi
stop_game

for scene in "${scenes[@]}"; do
  start_game
  settle
  press Return
  settle
  # The debug key counts only in a frame in which the mouse moved too: the mouse
  # jiggles in the corner, away from the buttons, while it is pressed.
  xdotool mousemove 4 4
  for _ in $(seq 40); do
    [[ "$(grep '^Loading scene:' "$work/game.log" | tail -1)" == "Loading scene: scenes/$scene.nvs" ]] && break
    (for j in $(seq 30); do xdotool mousemove_relative -- $(( (j % 2) * 4 - 2 )) 0; sleep 0.01; done) &
    jiggle=$!
    sleep 0.15
    xdotool keydown 1
    sleep 0.1
    xdotool keyup 1
    wait "$jiggle"
    sleep 0.2
  done
  press Down
  press Return
  sleep 2
  settle
  echo "$scene: $(rss)"
  press Escape
  settle
  echo "$scene, paused: $(rss)"
  stop_game
done
