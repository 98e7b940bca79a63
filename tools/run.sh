#!/usr/bin/env bash
# Seeds the data folder from the template databases (never overwriting a file) and starts the program there.
set -euo pipefail
build="${1:-build}"
build="$(cd "$build" && pwd)"
data="${ZELMOR_DATA:-$HOME/ZelmorLog}"
settings="DB/Work/cfg.mdb"
mkdir -p "$data"
new_settings=false
[ -e "$data/$settings" ] || new_settings=true
(cd "$build/templates" && find . -type f) | while read -r f; do
  if [ ! -e "$data/$f" ]; then
    mkdir -p "$data/$(dirname "$f")"
    # A journal left beside a deleted database belongs to that file, not to the new copy.
    rm -f "$data/$f-wal" "$data/$f-shm"
    cp "$build/templates/$f" "$data/$f"
  fi
done
if $new_settings && [ -e "$data/$settings" ]; then
  # New settings start with the UTC difference of this machine's zone (the clock plus it is UTC),
  # stored as the settings window stores it: signed hours, and minutes taking their sign.
  zone="$(date +%z)"
  if [ "${zone:0:1}" = "-" ]; then sign="+"; else sign="-"; fi
  [ "${zone:1:4}" = "0000" ] && sign="+"
  hours="$sign${zone:1:2}"
  minutes="${zone:3:2}"
  sqlite3 "$data/$settings" \
    "INSERT OR IGNORE INTO Cfg (FormName, Object, Name_Param, Param, Prim) VALUES
       ('FConfig', 'MaskEditT', 'Text', '$hours', 'TMaskEdit'),
       ('FConfig', 'MaskEdit2T', 'Text', '$minutes', 'TMaskEdit');"
fi
mkdir -p "$data/Temp" "$data/Sound"
cd "$data"
exec "$build/src/zelmor-log"
