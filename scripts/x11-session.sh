# shellcheck shell=bash
# Sourced by scripts/smoke and scripts/measure: a private X server, a private
# copy of the program, and the helpers that drive the program and look at it
# from outside, as a player would.
#
# The caller sets SCRIPT (its name, for messages) and BUILD_DIR (the CMake
# build folder), then calls x_session_start; everything it starts is ended
# when the script exits, whether it succeeded or not.

set -euo pipefail

die() {
  echo "$SCRIPT: FAILED: $*" >&2
  exit 1
}

note() { echo "$SCRIPT: $*"; }

[ -d "$BUILD_DIR" ] || die "no build folder $BUILD_DIR (make build)"
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)

for tool in Xvfb xdotool xdpyinfo import convert; do
  command -v "$tool" >/dev/null || die "$tool is missing (scripts/install-deps installs it)"
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/zelkar-$SCRIPT.XXXXXX")
PROGRAM_DIR="$WORK/program"
XVFB_PID=""
GAME_PID=""

# Ends the program started last, if it still runs: only what this script
# started, by its own process id; the program runs in a process group of
# its own, children and all.
stop_game() {
  if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then
    kill -- "-$GAME_PID" 2>/dev/null || true
    wait "$GAME_PID" 2>/dev/null || true
  fi
  GAME_PID=""
}

x_session_stop() {
  stop_game
  if [ -n "$XVFB_PID" ] && kill -0 "$XVFB_PID" 2>/dev/null; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  rm -rf "$WORK"
}
trap x_session_stop EXIT
trap 'exit 130' INT TERM

# wait_until SECONDS WHAT COMMAND...: polls COMMAND every 0.1 s.
wait_until() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || die "waited ${seconds} s in vain for $what"
    if [ -n "$GAME_PID" ] && ! game_alive; then
      die "the program ended while waiting for $what (log: $(tail -3 "$WORK/game.log"))"
    fi
    sleep 0.1
  done
}

# Starts Xvfb on a display number that the server itself finds free, and a
# copy of the program in a scratch folder, so that config.txt is written
# there and never beside the developer's own build.
x_session_start() {
  local program="$BUILD_DIR/qt/zelkar"
  [ -x "$program" ] || die "$program is not built (make build)"
  mkdir -p "$PROGRAM_DIR" "$WORK/xdg" "$WORK/runtime"
  chmod 700 "$WORK/runtime"
  cp "$program" "$PROGRAM_DIR/"
  cp "$BUILD_DIR"/qt/*.WAV "$BUILD_DIR"/qt/zelkar-sound.so "$PROGRAM_DIR/" 2>/dev/null || true

  # 24-bit colour, so screenshots show the game's colours exactly.
  # -noreset: an X server left by its last client starts itself over and
  # compiles its keymap again (about 40 ms of the server's time, which the
  # next program to connect waits for). A desktop's server never does so
  # between programs: its window manager stays connected. Here the probe
  # below is that last client, and the program started next would pay.
  Xvfb -displayfd 3 -screen 0 1064x600x24 -nolisten tcp -noreset 3>"$WORK/display" \
    2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  wait_until 10 "X server" test -s "$WORK/display"
  DISPLAY=":$(head -n 1 "$WORK/display")"
  export DISPLAY
  wait_until 10 "answer from the X server $DISPLAY" xdpyinfo_quiet

  # The program must find nothing of the developer's own settings.
  export XDG_CONFIG_HOME="$WORK/xdg" XDG_RUNTIME_DIR="$WORK/runtime" QT_QPA_PLATFORM=xcb
}

xdpyinfo_quiet() { xdpyinfo >/dev/null 2>&1; }

# Whether the program still runs: an ended one stays a zombie until waited
# for, and kill -0 would still find it.
game_alive() {
  local stat
  stat=$(cat "/proc/$GAME_PID/stat" 2>/dev/null) || return 1
  [ "$(echo "${stat##*) }" | cut -d ' ' -f 1)" != Z ]
}

# game_start [ENV=VALUE ...] -- ARGS...: starts the copied program.
game_start() {
  local env=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    env+=("$1")
    shift
  done
  [ $# -gt 0 ] && shift
  # setsid: a session and process group of its own, whose id is the pid.
  setsid env "${env[@]}" "$PROGRAM_DIR/zelkar" "$@" >"$WORK/game.log" 2>&1 &
  GAME_PID=$!
}

# The id of the visible window with exactly this title, or nothing.
window_id() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
window_shown() { [ -n "$(window_id "$1")" ]; }
window_gone() { [ -z "$(window_id "$1")" ]; }

# wait_window SECONDS TITLE: waits for the window and prints its id.
wait_window() {
  wait_until "$1" "window \"$2\"" window_shown "$2"
  window_id "$2"
}

# click WINDOW X Y: a left click at a point of the window's client area.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# hold KEY SECONDS: the key held down, then let go.
hold() {
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
}
