#!/usr/bin/env bash
# Installs every Debian 12 package the project needs. Idempotent and quiet
# when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config clang-format
  qt6-base-dev qt6-svg-dev libqt6svg6 libqt6sql6-sqlite libqt6opengl6-dev qt6-qpa-plugins
  libcurl4-openssl-dev libarchive-dev libssl-dev libudev-dev libcpp-httplib-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils xdotool imagemagick fonts-roboto-unhinted fonts-lato
  curl openssl ca-certificates libarchive-tools
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "setup: run as root to install packages" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
