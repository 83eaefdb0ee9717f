#!/usr/bin/env bash
# Installs the build and test dependencies that are missing (Debian packages).
set -euo pipefail

packages=(g++ clang cmake make libgtest-dev libgmock-dev libbenchmark-dev libsuitesparse-dev
          qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev qt6-svg-dev libgl-dev
          qt6-translations-l10n xvfb xauth fonts-dejavu-core dpkg-dev file groff-base man-db)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Instaluję brakujące pakiety: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
