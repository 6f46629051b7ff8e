#!/usr/bin/env bash
# Retakes the renderer's reference pictures (tests/Game/playthrough/pictures/):
# builds the default preset's picture tool and plays its fixed run of every
# shipped scene and menu at 640 x 360. Retake them after the game's data changes,
# with the renderer unchanged, and commit them on their own.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh default NorvTakePictures
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy build/default/tools/playthrough/NorvTakePictures tests/Game/playthrough/pictures
ls -l tests/Game/playthrough/pictures
