#!/usr/bin/env bash
# bench/live_cpu.sh [build folder] [seconds]: Tallymeter's CPU use while it
# monitors the practice game with live readings, from /proc/PID/stat (user +
# system time) over the given seconds (default 60) after a 25-second start.
# Runs on a private X server; the program runs from a temporary copy.
# TALLYMETER_LIVE=0 measures the same with live readings switched off.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
seconds=${2:-60}
if [ -z "${TALLYMETER_CPU_ON_X:-}" ]; then
  TALLYMETER_CPU_ON_X=1 exec "$here/scripts/with-x" "$0" "$build" "$seconds"
fi
bin="$build/bin"
program=$(mktemp -d)
pids=""
cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  for pid in $pids; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$program"
}
trap cleanup EXIT
wait_for() {
  local tries=$1; shift
  for _ in $(seq "$tries"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}
cp "$bin/Tallymeter" "$program/"
cp -r "$bin/system" "$program/system"
cp -r "$bin/system" "$program/Pattern"
"$program/Tallymeter" & first=$!
pids="$first"
wait_for 100 test -s "$program/TmConfig.ini"
kill "$first"; wait "$first" 2>/dev/null || true
pids=""
LC_ALL=C sed -i '3s/False/ True/' "$program/TmConfig.ini"
if [ "${TALLYMETER_LIVE:-1}" = 0 ]; then
  # Line 10, the first line added after the classic nine (Shift_JIS text).
  LC_ALL=C sed -i '10s/^   True ,/  False ,/' "$program/TmConfig.ini"
  LC_ALL=C sed -n 10p "$program/TmConfig.ini" | grep -q '^  False ,' || { echo "live_cpu: could not switch live readings off" >&2; exit 1; }
fi

"$bin/practice_window" --level 120 --exp 3000000 --step-ms 2000 >/dev/null & pids="$pids $!"
wait_for 100 xdotool search --onlyvisible --name '^MapleStory$'
game=$(xdotool search --onlyvisible --name '^MapleStory$' | head -n1)
"$program/Tallymeter" & meter=$!
pids="$pids $meter"
wait_for 100 xdotool search --onlyvisible --name '^Tallymeter  For MapleStory$'
xdotool windowactivate --sync "$game"
sleep 25

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks "$meter"); s0=$(date +%s.%N)
sleep "$seconds"
t1=$(ticks "$meter"); s1=$(date +%s.%N)
awk -v d="$((t1 - t0))" -v hz="$hz" -v s0="$s0" -v s1="$s1" \
  'BEGIN { w = s1 - s0; printf "Tallymeter CPU: %d ticks (1/%d s) in %.1f s = %.3f %% of one core\n", d, hz, w, 100 * d / hz / w }'
[ "$(xdotool getactivewindow)" = "$game" ] && echo "the game stayed in front all the time"
