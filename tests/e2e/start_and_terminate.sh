#!/usr/bin/env bash
# Starts orvel-jigsaw on a private X server with fresh XDG folders, waits for
# its main window, saves a screenshot, sends SIGTERM and checks that the
# program ended with status 0 and wrote the settings file on the way out; the
# same for a SIGTERM during start-up and for one while a start-up warning is open.
#   start_and_terminate.sh <orvel-jigsaw> <output folder>
set -u
exe=$1
out=$2
mkdir -p "$out"
# shellcheck source=private_desktop.sh
source "$(dirname "$0")/private_desktop.sh"
private_desktop

"$exe" > "$work/app.log" 2>&1 &
app_pid=$!

# The main window: titled with the application title and at least 500 x 500
# (the toolkit's small helper windows carry the title too).
main_window() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Orvel Jigsaw Zentia Tour$' 2> /dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2> /dev/null)"
    if [ "${WIDTH:-0}" -ge 500 ] && [ "${HEIGHT:-0}" -ge 500 ]; then
      echo "$w"
      return
    fi
  done
}
# A message box over it: titled the same, lower than the main window.
message_box() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Orvel Jigsaw Zentia Tour$' 2> /dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2> /dev/null)"
    if [ "${HEIGHT:-0}" -lt 300 ]; then
      echo "$w"
      return
    fi
  done
}
# Waits until $1 (a function) finds a window; $2 the log to show otherwise.
wait_for() {
  window=""
  for _ in $(seq 150); do
    window=$($1)
    [ -n "$window" ] && return 0
    kill -0 "$app_pid" 2> /dev/null || { echo "the program ended early"; cat "$2"; exit 1; }
    sleep 0.05
  done
  echo "no window found by $1"; cat "$2"; exit 1
}
# Sends SIGTERM and expects the program to end with status 0 within ten seconds.
terminate() {
  kill -TERM "$app_pid"
  for _ in $(seq 100); do
    kill -0 "$app_pid" 2> /dev/null || break
    sleep 0.1
  done
  if kill -0 "$app_pid" 2> /dev/null; then
    echo "the program did not end after SIGTERM ($1)"
    exit 1
  fi
  wait "$app_pid"
  local status=$?
  app_pid=""
  [ "$status" -eq 0 ] || { echo "exit status $status after SIGTERM ($1)"; exit 1; }
}

wait_for main_window "$work/app.log"
# The splash stays about two seconds; the shot shows the main window after it.
sleep 3
import -window root "$out/main-window.png" || { echo "screenshot failed"; exit 1; }

terminate "running"
settings="$work/data/Orvel Jigsaw Zentia Tour/orvel.ini"
[ -s "$settings" ] || { echo "settings file not written"; cat "$work/app.log"; exit 1; }
grep -q '^\[Main\]' "$settings" || { echo "settings file without [Main]"; exit 1; }

# A SIGTERM while the splash still shows (the main window is up, start-up not
# finished) also ends through the close path once the message loop runs.
rm -rf "$work/data" && mkdir -p "$work/data"
"$exe" > "$work/app2.log" 2>&1 &
app_pid=$!
wait_for main_window "$work/app2.log"
terminate "during start-up"
[ -s "$settings" ] || { echo "settings file not written after an early SIGTERM"; exit 1; }

# Without english.lng the start-up warning is open when the signal comes: it
# closes the box and the program as well. A copy of the program in a folder
# of its own, with the resources but no language files.
mkdir -p "$work/program/language"
cp "$exe" "$work/program/"
ln -s "$(dirname "$exe")/resources" "$work/program/resources"
rm -rf "$work/data" && mkdir -p "$work/data"
"$work/program/$(basename "$exe")" > "$work/app3.log" 2>&1 &
app_pid=$!
wait_for message_box "$work/app3.log"
terminate "with the start-up warning open"
[ -s "$settings" ] || { echo "settings file not written with the warning open"; exit 1; }
echo "ok: screenshot $out/main-window.png"
exit 0
