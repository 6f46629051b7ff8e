#!/usr/bin/env bash
# Takes the README's screenshots from a headless run of the game: builds the
# default preset, plays the shot scripts of tools/screenshots/ (and the
# playthrough's scripts up to the level and the boss fight) through
# NorvPlayScript at 960 x 540, and writes them as JPEG into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh default
out=docs/screenshots
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
mkdir -p "$out"

play=build/default/tools/playthrough/NorvPlayScript
scripts=tools/screenshots
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$play" --every 0 --size 960x540 \
  --shot-after Intro.txt "$shots/intro.png" \
  --shot-after Menu.txt "$shots/main-menu.png" \
  "$scripts/Intro.txt" "$scripts/Menu.txt"

for png in "$shots"/*.png; do
  ffmpeg -loglevel error -y -i "$png" -q:v 4 "$out/$(basename "${png%.png}").jpg"
done
ls -l "$out"
