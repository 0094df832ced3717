#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing kvlearn
# need, when any of them is missing. Safe to run again: it does nothing
# when everything is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev zlib1g-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-image-formats-plugins
  fonts-wqy-microhei xvfb xauth
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y "${missing[@]}"
