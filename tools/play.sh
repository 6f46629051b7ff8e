#!/usr/bin/env bash
# Builds the game and starts it from Bin/ (its working directory by design).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh default
cd Bin
exec ./Game
