#!/usr/bin/env bash
# Brings a fresh Debian machine (run as root) everything the build, the tests
# and the program need. Packages already installed are skipped, so a second
# run costs only a dpkg query.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qtbase5-dev qtbase5-dev-tools qttranslations5-l10n
  libxlsxwriter-dev libminizip-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core fonts-liberation2
  python3-openpyxl
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}; run this script as root to install them." >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
# Empty package lists on a fresh machine: fetch them first.
if [ -z "$(ls -A /var/lib/apt/lists 2>/dev/null | grep -v -E '^(lock|partial|auxfiles)$')" ]; then
  apt-get update
fi
if ! apt-get install -y --no-install-recommends "${missing[@]}"; then
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
