#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when any is missing.
set -euo pipefail

# qt6-svg-dev brings libqt6svg6, which also holds the SVG icon-engine and image plugins that the
# desktop's SVG theme icons need.
# woff2 and python3-fonttools build web fonts and cmap fixtures for the tests; desktop-file-utils,
# appstream and dpkg-dev check and package the desktop integration.
packages=(cmake g++ make pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 libfontconfig-dev libfreetype-dev libzip-dev
          libgtest-dev fonts-dejavu-core fonts-wine fonts-urw-base35 libwoff-dev woff2 libbrotli-dev libicu-dev
          python3-fonttools desktop-file-utils appstream dpkg-dev xvfb xauth zip unzip)
[ "${GLYVANTA_EXTRA_PACKAGES:-}" ] && read -r -a extra <<<"$GLYVANTA_EXTRA_PACKAGES" && packages+=("${extra[@]}")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
