#!/usr/bin/env bash
# Installs, with apt-get, whatever of the build and test tools is missing on a Debian machine.
set -euo pipefail

# The README says what each is for.
packages=(cmake g++ make qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core qt6-translations-l10n
          libboost-math-dev libssl-dev nlohmann-json3-dev qt6-charts-dev libgtest-dev libgmock-dev libbenchmark-dev clang-format
          desktop-file-utils appstream shared-mime-info man-db dpkg-dev file)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Instalando: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
