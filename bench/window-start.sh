#!/usr/bin/env bash
# How fast the window starts and how much memory it takes, as a user sees
# it: on a virtual X display (Xvfb), the time from the process's start until
# the screen stops changing (the report painted), then the resident and the
# proportional memory of the whole process tree (the program and the web
# engine's helpers). Several runs each; medians.
#
#   bench/window-start.sh [RUNS] PROGRAM [PROGRAM...]
#
# Each PROGRAM is a veltrane executable; with several, their runs alternate,
# so that they meet the same machine. The example game is examined against
# the example classic installation. Needs xvfb and x11-apps (xwd), which it
# installs with apt-get when they are missing and it may.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
if [[ "${1:-}" =~ ^[0-9]+$ ]]; then runs=$1; shift; fi
if [[ $# -eq 0 ]]; then
  echo "usage: $0 [RUNS] PROGRAM [PROGRAM...]" >&2
  exit 2
fi
for tool in Xvfb xwd; do
  if ! command -v "$tool" >/dev/null; then
    if [[ $(id -u) -eq 0 ]]; then
      apt-get install -y -q xvfb x11-apps >/dev/null
    else
      echo "$0: needs $tool (Debian: apt-get install xvfb x11-apps)" >&2
      exit 2
    fi
  fi
done

display=:77
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do
  DISPLAY=$display xwd -root -silent >/dev/null 2>&1 && break
  sleep 0.1
done

program_file=$PWD/examples/game/game.bmx
root=$PWD/examples/BlitzMax

now() { date +%s.%N; }

# The program and every process below it.
tree() {
  local pid=$1
  echo "$pid"
  for child in $(pgrep -P "$pid" || true); do tree "$child"; done
}

# Sum of a field of smaps_rollup over the tree, in MiB.
tree_memory() {
  local field=$1 total=0 kb
  for pid in $(tree "$2"); do
    kb=$(awk -v f="$field:" '$1 == f { print $2 }' "/proc/$pid/smaps_rollup" 2>/dev/null || true)
    total=$((total + ${kb:-0}))
  done
  echo $((total / 1024))
}

# One run: prints "seconds processes rss_mib pss_mib".
measure() {
  local binary=$1 home=$work/home-$RANDOM
  mkdir -p "$home"
  local start last changed hash previous="" stable=0
  start=$(now)
  HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
    DISPLAY=$display BMXPATH=$root QTWEBENGINE_DISABLE_SANDBOX=1 \
    "$binary" "$program_file" >/dev/null 2>&1 &
  local pid=$!
  last=$start
  # The screen is read until it has not changed for 1.5 s (or 20 s passed).
  for _ in $(seq 400); do
    hash=$(DISPLAY=$display xwd -root -silent 2>/dev/null | md5sum)
    if [[ "$hash" != "$previous" ]]; then
      previous=$hash
      last=$(now)
      stable=0
    else
      stable=$((stable + 1))
      [[ $stable -ge 30 ]] && break
    fi
    sleep 0.05
  done
  local processes rss pss
  processes=$(tree "$pid" | wc -l)
  rss=$(tree_memory Rss "$pid")
  pss=$(tree_memory Pss "$pid")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$(echo "$last - $start" | bc) $processes $rss $pss"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

declare -A results
for round in $(seq "$runs"); do
  for binary in "$@"; do
    results[$binary]+="$(measure "$binary")"$'\n'
  done
done

printf '%-50s %10s %10s %10s %10s\n' program start_s processes rss_MiB pss_MiB
for binary in "$@"; do
  lines=${results[$binary]}
  printf '%-50s %10s %10s %10s %10s\n' "$binary" \
    "$(cut -d' ' -f1 <<<"$lines" | grep . | median)" \
    "$(cut -d' ' -f2 <<<"$lines" | grep . | median)" \
    "$(cut -d' ' -f3 <<<"$lines" | grep . | median)" \
    "$(cut -d' ' -f4 <<<"$lines" | grep . | median)"
done
