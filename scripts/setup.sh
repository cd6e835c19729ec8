#!/usr/bin/env bash
# Installs the Debian packages the workstation and its tests need (only the
# missing ones). Needs root or sudo the first time.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6sql6-sqlite
  qt6-image-formats-plugins qt6-qpa-plugins libjpeg62-turbo-dev
  libxlsxwriter-dev libgtest-dev libbenchmark-dev libsqlite3-dev
  fonts-dejavu-core
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
