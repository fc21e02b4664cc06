#!/usr/bin/env bash
# Installs everything the viewer needs to build, run and be tested on a fresh
# Debian 12 machine. Safe to run again: apt-get skips what is there.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins qt6-translations-l10n
    libgl-dev
    libjpeg62-turbo-dev libpng-dev libtiff-dev
    fonts-ipafont-gothic fonts-dejavu-core fonts-liberation
    xvfb xauth
    clang libclang-rt-14-dev
    poppler-utils
    cups printer-driver-cups-pdf
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
