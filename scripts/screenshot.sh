#!/usr/bin/env bash
# Takes a screenshot of Swat in the middle of a minigame: starts the game under
# Xvfb from the run directory, lets the splash play, presses P, waits until the
# first minigame is on (its blue time display is drawn), moves the swatter in
# and captures the window into docs/swat-minigame.png.
#
#   scripts/screenshot.sh [build-dir] [output.png]
#
# SWAT_SCREENSHOT_SCREEN=start or gameover captures the start screen, or the
# game-over screen of that first minigame left alone, instead (into
# docs/swat-start.png or docs/swat-gameover.png). The game keeps its best
# streak in a folder of the script's own, holding a best of 12 to show.
#
# The build directory defaults to build/; swat and its run directory are built
# there first. A fixed random seed makes the same minigame come up every time.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" 2>/dev/null && pwd || echo "${1:-$ROOT/build}")"
SCREEN="${SWAT_SCREENSHOT_SCREEN:-minigame}"
OUT="${2:-$ROOT/docs/swat-$SCREEN.png}"
SEED="${SWAT_SCREENSHOT_SEED:-20261207}"

if [ -z "${SWAT_SCREENSHOT_INNER:-}" ]; then
  if [ ! -f "$BUILD/build.ninja" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
  ninja -C "$BUILD" swat rundir >/dev/null
  mkdir -p "$(dirname "$OUT")"
  SWAT_SCREENSHOT_INNER=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    "$0" "$BUILD" "$(cd "$(dirname "$OUT")" && pwd)/$(basename "$OUT")"
fi

# From here on, inside the Xvfb session.
WORK="$(mktemp -d)"
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    sleep 1
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "screenshot.sh: $*" >&2
  echo "The game's log was:" >&2
  tail -n 20 "$WORK/vexlo.log" >&2 || true
  exit 1
}

# Polls a command for up to the given number of seconds.
wait_for() { # seconds, command...
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.2
  done
}

# Pixels of exactly one colour in a rectangle of the window.
count_color() { # color, geometry
  import -window "$window" png:"$WORK/poll.png" 2>/dev/null || return 1
  convert "$WORK/poll.png" -crop "$2" +repage txt:- 2>/dev/null | grep -ci "$1" || true
}

find_window() {
  window="$(xdotool search --onlyvisible --name '^Swat$' 2>/dev/null | head -n 1)"
  [ -n "$window" ]
}
# The yellow start screen is up: the splash is over and P will start a run.
start_screen() { [ "$(count_color '#FFFF00' 1024x640+0+64)" -gt 400 ]; }
# The blue time display at the top right: a minigame is in progress.
minigame_on() { [ "$(count_color '#0000FF' 320x64+704+0)" -gt 30 ]; }
# The red game-over picture below the top rows.
game_over() { [ "$(count_color '#FF0000' 1024x640+0+64)" -gt 400 ]; }

printf 'random_seed:%s,networking:false,' "$SEED" > "$WORK/config.txt"
echo 12 > "$WORK/swat-best.txt"
(
  cd "$BUILD/run"
  VEXLO_CONFIG="$WORK/config.txt" VEXLO_LOG="$WORK/vexlo.log" VEXLO_DATA_DIR="$WORK" \
    exec ../swat >/dev/null 2>&1
) &
pid=$!

wait_for 20 find_window || fail "no window appeared"
wait_for 20 start_screen || fail "no start screen"
# Keys go to the focused window; there is no window manager to give it focus.
focused() { xdotool windowfocus "$window" 2>/dev/null; [ "$(xdotool getwindowfocus)" = "$window" ]; }
wait_for 5 focused || fail "the window never got the keyboard focus"
if [ "$SCREEN" = start ]; then
  sleep 0.5
  import -window "$window" "$OUT"
  echo "Wrote $OUT"
  exit 0
fi
xdotool key p
if [ "$SCREEN" = gameover ]; then
  wait_for 60 game_over || fail "no game-over screen"
  sleep 0.4
  import -window "$window" "$OUT"
  echo "Wrote $OUT"
  exit 0
fi
wait_for 20 minigame_on || fail "no minigame started"
# The swatter follows the mouse; bring it in a little left of the middle.
xdotool mousemove --window "$window" 420 400
sleep 1.5
import -window "$window" "$OUT"
echo "Wrote $OUT"
