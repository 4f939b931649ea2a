#!/usr/bin/env bash
# Whole-process start-up of Rollpouch with a 1,000-die tray until its window
# is painted: the program paints its window into a picture at the first turn
# of its event loop (ROLLPOUCH_SCREENSHOT with no delay) and exits. The
# figure includes writing that picture, so it is an upper bound. Runs with
# -nologo, fresh settings and no running instance to hand the tray to.
# Prints the median of 11 runs in milliseconds.
# Usage: bench/rollpouch_startup.sh BUILD_DIR (under xvfb-run, or with QT_QPA_PLATFORM=offscreen)
set -euo pipefail
build=${1:-build/release}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
for i in $(seq 1 200); do echo "Group $i: 5d6"; done > "$work/lines.txt"
"$build/bin/rollpouch-cli" convert "$work/lines.txt" > "$work/thousand.rlp" 2>/dev/null
times=()
for run in $(seq 1 11); do
  start=$(date +%s%N)
  ROLLPOUCH_SCREENSHOT="$work/shot.png" ROLLPOUCH_SCREENSHOT_DELAY_MS=0 \
    "$build/bin/Rollpouch" -nologo "$work/thousand.rlp" 2>/dev/null
  times+=($(( ($(date +%s%N) - start) / 1000000 )))
done
printf '%s\n' "${times[@]}" | sort -n | sed -n 6p
