#!/usr/bin/env bash
# Installs what Brinewave3 needs to build, run and test, with apt-get. Does nothing when
# everything is present.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev libsdl2-mixer-dev libx11-dev libxext-dev libxrender-dev libwayland-dev
    libxkbcommon-dev wayland-protocols
    libgtest-dev fonts-liberation2 fonts-dejavu-core
    xvfb xauth xdotool x11-utils x11-xserver-utils x11-xkb-utils
    dpkg-dev file lintian appstream desktop-file-utils man-db xscreensaver
    debootstrap sway swayidle wayland-utils qt6-wayland
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

as_root=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "setup: run as root or install sudo: ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"; then
    "${as_root[@]}" apt-get update -q
    "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
