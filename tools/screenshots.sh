#!/usr/bin/env bash
# Takes the README's screenshots from headless runs of the game: builds the
# default preset, then NorvPlayScript plays at 960 x 540 the shot scripts of
# tools/screenshots/ (the intro and the main menu) and the playthrough's own
# scripts (a level and the boss fight), and the frames go into docs/screenshots/
# as JPEG.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh default
out=docs/screenshots
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
mkdir -p "$out"

play() {
  SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy build/default/tools/playthrough/NorvPlayScript --every 0 --size 960x540 "$@" \
    | grep -E '^(frame|STALLED)|NOT written'
}

play --shot-when intro 140 "$shots/intro.png" --shot-when menu 80 "$shots/main-menu.png" \
  tools/screenshots/Intro.txt tools/screenshots/Menu.txt

# The whole playthrough, seldom drawn but for the frames leading up to a shot.
# A shot whose stage the scripts do not reach is reported and left as it was.
scripts=tests/Game/playthrough/scripts
mapfile -t order < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$scripts/Playthrough.txt" | grep -v '^$')
play --draw-every 4 --shot-when "scene Tutorial" 560 "$shots/level.png" --shot-when boss-fight 300 "$shots/boss-fight.png" \
  "${order[@]/#/$scripts/}" || echo "The playthrough's scripts did not reach every shot."

for png in "$shots"/*.png; do
  ffmpeg -loglevel error -y -i "$png" -q:v 4 "$out/$(basename "${png%.png}").jpg"
done
ls -l "$out"
