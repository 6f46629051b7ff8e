#!/usr/bin/env bash
# Builds and runs every test for each preset named (default: "default").
# GPU tests run on Mesa's software renderer and need no display.
set -euo pipefail
cd "$(dirname "$0")/.."
[[ $# -eq 0 ]] && set -- default
for preset in "$@"; do
  tools/build.sh "$preset"
  ctest --preset "$preset"
done
