#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need.
# Idempotent: quiet when everything is present; runs apt-get update only when
# something is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config glslang-tools
  libsdl2-dev libsdl2-image-dev
  libepoxy-dev libegl-dev libegl1-mesa-dev libgl1-mesa-dri libgles-dev
  libfreetype-dev zlib1g-dev libdeflate-dev libpng-dev libjpeg62-turbo-dev libgif-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  nlohmann-json3-dev libimgui-dev libxxhash-dev libstb-dev
  libgtest-dev libgmock-dev libbenchmark-dev libassimp-dev
  fonts-dejavu-core fonts-cherrybomb fonts-blankenburg ffmpeg xvfb xauth
  clang-14 libclang-rt-14-dev
)

missing=()
for package in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

SUDO=""
[[ $(id -u) -ne 0 ]] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
