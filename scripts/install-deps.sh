#!/usr/bin/env bash
# Installs the Debian packages Tintbeacon needs to build, run and test;
# only those that are missing, so a second run does nothing.
set -euo pipefail
packages=(
  cmake g++ make pkg-config qt6-base-dev libx11-dev libpng-dev libgtest-dev libbenchmark-dev libxcb1-dev
  xvfb xauth xdotool x11-xserver-utils x11-utils openbox
  fonts-liberation2 fonts-morisawa-bizud-gothic fonts-roboto-slab espeak-ng kakasi xdg-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
