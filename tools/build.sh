#!/usr/bin/env bash
# Installs what is missing, then configures and builds one preset (default: "default"),
# all of it or only the targets named after it.
#
#   tools/build.sh [PRESET [TARGET...]]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
shift || true
tools/install-deps.sh
cmake --preset "$preset" >/dev/null
if [[ $# -gt 0 ]]; then
  cmake --build --preset "$preset" --target "$@"
else
  cmake --build --preset "$preset"
fi
