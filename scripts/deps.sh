#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when one is missing.
set -euo pipefail
packages=(cmake ninja-build g++ clang-14 libclang-rt-14-dev nlohmann-json3-dev libssl-dev libicu-dev
          libgtest-dev libgmock-dev libbenchmark-dev clang-format-14
          pkg-config libxcb1-dev libxcb-util-dev libxcb-randr0-dev libxcb-res0-dev
          libxcb-xinput-dev libxcb-screensaver0-dev libxcb-xkb-dev libxkbcommon-x11-dev libxcb-xtest0-dev
          xdotool libpam0g-dev libpam-wrapper
          qt6-base-dev libgl-dev qt6-qpa-plugins libsecret-1-dev
          xvfb jwm openbox x11-utils x11-xserver-utils dbus gnome-keyring)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
