#!/usr/bin/env bash
# Seeds the data folder from the template databases (never overwriting a file) and starts the program there.
set -euo pipefail
build="${1:-build}"
build="$(cd "$build" && pwd)"
data="${ZELMOR_DATA:-$HOME/ZelmorLog}"
mkdir -p "$data"
(cd "$build/templates" && find . -type f) | while read -r f; do
  if [ ! -e "$data/$f" ]; then
    mkdir -p "$data/$(dirname "$f")"
    # A journal left beside a deleted database belongs to that file, not to the new copy.
    rm -f "$data/$f-wal" "$data/$f-shm"
    cp "$build/templates/$f" "$data/$f"
  fi
done
mkdir -p "$data/Temp" "$data/Sound"
cd "$data"
exec "$build/src/zelmor-log"
