#!/usr/bin/env bash
# Installs the Debian packages Tintbeacon needs to build, run and test;
# only those that are missing, so a second run does nothing.
set -euo pipefail
packages=(
  cmake g++ make pkg-config qt6-base-dev libx11-dev libpng-dev libgtest-dev libbenchmark-dev libxcb1-dev
  libxau-dev libxdmcp-dev zlib1g-dev
  xvfb xauth xdotool x11-xserver-utils x11-utils openbox
  fonts-liberation2 fonts-morisawa-bizud-gothic fonts-roboto-slab espeak-ng kakasi xdg-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "install-deps: these Debian packages are missing: ${missing[*]}" >&2
    echo "install-deps: run this script as root, or install sudo, or install them with: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
