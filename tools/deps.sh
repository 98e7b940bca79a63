#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev qt6-multimedia-dev libqt6sql6-sqlite qt6-image-formats-plugins
  libsndfile1-dev libgumbo-dev libsqlite3-dev
  hamradio-files cqrlog-data
  sqlite3 xvfb xauth dbus-daemon
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

line="apt-get install -y ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  runner=()
elif command -v sudo >/dev/null 2>&1; then
  runner=(sudo) # asks for the password when it needs one
else
  echo "Missing packages. Please run as root:" >&2
  echo "  apt-get update && $line" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${runner[@]}" apt-get update -q
"${runner[@]}" apt-get install -y -q "${missing[@]}"
