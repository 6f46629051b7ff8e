#!/usr/bin/env bash
# Builds the game and its data (not the tests and tools) and starts it from Bin/
# (its working directory by design).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh default Game
cd Bin
exec ./Game
