#!/usr/bin/env bash
# Takes the README's screenshots from headless runs of the game: builds the
# default preset, then NorvPlayScript plays at 960 x 540 the shot scripts of
# tools/screenshots/ (the intro, the main menu, the options, the quit screen and the
# test level of tools/screenshots/levels/) and the playthrough's own scripts (the
# Tutorial's start and plateau, the hub, the cave, the boss fight, the forest and the
# ending), and the frames go into docs/screenshots/ as JPEG.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh default
out=docs/screenshots
shots=$(mktemp -d)
game=$(mktemp -d)
trap 'rm -rf "$shots" "$game"' EXIT
mkdir -p "$out"

play() {
  SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy build/default/tools/playthrough/NorvPlayScript --every 0 --size 960x540 "$@" \
    | grep -E '^(frame|STALLED)|NOT written'
}

play --shot-when intro 140 "$shots/intro.png" --shot-when menu 80 "$shots/main-menu.png" \
  tools/screenshots/Intro.txt tools/screenshots/Menu.txt
play --shot-when menu 115 "$shots/options.png" tools/screenshots/Options.txt
play --shot-when menu 105 "$shots/quit-screen.png" tools/screenshots/Quit.txt

# The test level, in a game folder of the data set's art and definitions (copied:
# the game's walk over them follows no links) with scenes made from its source.
data=Source/Game/data
for folder in "$data"/*/; do
  name=$(basename "$folder")
  case $name in
    scenes) ;;
    definitions) cp -r "$folder" "$game/$name" ;;
    *) ln -s "$PWD/$folder" "$game/$name" ;;
  esac
done
build/default/tools/NorvMakeScenes tools/screenshots/levels "$game"
play --game "$game" --level-select TestLevel --shot-when "scene TestLevel" 240 "$shots/test-level.png" tools/screenshots/TestLevel.txt

# The whole playthrough, seldom drawn but for the frames leading up to a shot.
# A shot whose stage the scripts do not reach is reported and left as it was.
scripts=tests/Game/playthrough/scripts
mapfile -t order < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$scripts/Playthrough.txt" | grep -v '^$')
play --draw-every 4 --shot-when "scene Tutorial" 40 "$shots/tutorial-start.png" --shot-when "scene Tutorial" 560 "$shots/level.png" \
  --shot-when "scene Hub" 60 "$shots/hub.png" --shot-when "scene Level_1" 100 "$shots/cave.png" --shot-when boss-fight 300 "$shots/boss-fight.png" \
  --shot-when "scene Level_2" 150 "$shots/forest.png" --shot-when "scene Ending" 60 "$shots/ending.png" \
  "${order[@]/#/$scripts/}" || echo "The playthrough's scripts did not reach every shot."

for png in "$shots"/*.png; do
  ffmpeg -loglevel error -y -i "$png" -q:v 5 "$out/$(basename "${png%.png}").jpg"
done
ls -l "$out"
