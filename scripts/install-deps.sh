#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the calculator need, when
# they are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  qt6-base-dev libgl-dev libgtest-dev
  fontconfig fonts-dejavu-core
  xvfb xauth x11-utils xdotool libx11-dev
  dbus dbus-x11 at-spi2-core python3 python3-pyatspi
  clang libclang-rt-14-dev
  locales
)

as_root=()
if [ "$(id -u)" -ne 0 ]; then as_root=(sudo); fi

# The number parsing is tested under a decimal-comma locale, which must exist for that test to run.
ensure_test_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    "${as_root[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
  fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update -qq
  "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
ensure_test_locale
