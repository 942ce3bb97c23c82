#!/usr/bin/env bash
# Builds the plugin and the host, creates the SQLite demo database and runs the plugin on it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
scripts/build.sh build
db="$root/build/demo.db"
rm -f "$db"
sqlite3 "$db" < demo/demo.sql
printf 'Driver=SQLite3\nDatabase=%s\n' "$db" > build/demo-params.txt
extra=()
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  # No screen: run offscreen and print the plugin's messages instead of showing them.
  export QT_QPA_PLATFORM=offscreen
  extra=(--answer-messages)
fi
build/host/morvel-host build/plugin/morvel.so --info --background
build/host/morvel-host build/plugin/morvel.so --execute 0 --site 0 --params-file build/demo-params.txt "${extra[@]}" "$@"
