#!/usr/bin/env bash
# The browser at a first start: the program starts with fresh folders on a
# private X server, the jigsaw and saved-game browser appears by itself, the
# first sample jigsaw is opened at level 13 with the keyboard alone (Enter for
# the level page, End for the fewest pieces, Enter to open), a piece is dragged
# with the mouse, and the program is closed (a save question, when asked, is
# answered No). The settings written on the way out keep the level and the
# opened jigsaw as the most recent file.
#   browser_open_and_play.sh <orvel-jigsaw> <output folder>
set -u
exe=$1
out=$2
mkdir -p "$out"
# shellcheck source=private_desktop.sh
source "$(dirname "$0")/private_desktop.sh"
private_desktop python3

"$exe" > "$work/app.log" 2>&1 &
app_pid=$!

# Prints the id of the first visible window whose name matches $1.
window_named() {
  xdotool search --onlyvisible --name "$1" 2> /dev/null | head -n1
}
# Waits up to $2 tenths of a second for a window named $1.
wait_window() {
  local w
  for _ in $(seq "$2"); do
    w=$(window_named "$1")
    [ -n "$w" ] && { echo "$w"; return 0; }
    kill -0 "$app_pid" 2> /dev/null || return 1
    sleep 0.1
  done
  return 1
}
fail() { echo "$1"; cat "$work/app.log"; exit 1; }

browser=$(wait_window '^Open a Jigsaw or a Saved Game' 200) || fail "the browser did not appear at the first start"
sleep 1
import -window root "$out/browser-first-start.png"
xdotool windowactivate --sync "$browser" 2> /dev/null || xdotool windowfocus --sync "$browser"
xdotool key --delay 150 Return End Return
for _ in $(seq 150); do
  [ -z "$(window_named '^Open a Jigsaw or a Saved Game')" ] && break
  sleep 0.1
done
[ -z "$(window_named '^Open a Jigsaw or a Saved Game')" ] || fail "the browser stayed open"
find_piece() {
  python3 - "$work/before.ppm" << 'PY'
import sys
data = open(sys.argv[1], 'rb').read()
parts = data.split(b'\n', 3)
w, h = map(int, parts[1].split())
pix = parts[3]
def at(x, y):
    i = 3 * (y * w + x)
    return pix[i:i + 3]
from collections import Counter
bg = Counter(at(x, y) for y in range(80, h - 20, 10) for x in range(10, w - 10, 10)).most_common(1)[0][0]
def differs(x, y):
    return sum(abs(a - b) for a, b in zip(at(x, y), bg)) > 30
for y in range(80, h - 200, 6):
    for x in range(20, w - 200, 6):
        if all(differs(x + dx, y + dy) for dx in range(0, 15, 3) for dy in range(0, 15, 3)):
            print(x + 7, y + 7)
            sys.exit(0)
PY
}
# The game may take a while to appear on a loaded machine: look for a piece
piece=""
# for up to 30 seconds, on a screen that has stopped changing (the progress
# panel has gone).
for _ in $(seq 60); do
  sleep 0.5
  import -window root -depth 8 "$work/before.ppm"
  if cmp -s "$work/before.ppm" "$work/previous.ppm"; then
    piece=$(find_piece)
    [ -n "$piece" ] && break
  fi
  cp "$work/before.ppm" "$work/previous.ppm"
  kill -0 "$app_pid" 2> /dev/null || break
done
[ -n "$piece" ] || fail "no piece found on the field"
set -- $piece
xdotool mousemove "$1" "$2" sleep 0.2 mousedown 1 sleep 0.2
for step in 1 2 3 4 5 6; do xdotool mousemove "$(($1 + step * 20))" "$(($2 + step * 12))" sleep 0.05; done
xdotool mouseup 1
for _ in $(seq 40); do
  sleep 0.25
  import -window root -depth 8 "$work/after.ppm"
  cmp -s "$work/before.ppm" "$work/after.ppm" || break
done
import -window root "$out/browser-piece-dragged.png"
cmp -s "$work/before.ppm" "$work/after.ppm" && fail "dragging a piece changed nothing on the screen"

# Closing: the save question, when the program asks it, is answered No.
kill -TERM "$app_pid"
for _ in $(seq 100); do
  kill -0 "$app_pid" 2> /dev/null || break
  question=$(xdotool search --onlyvisible --name '^Orvel Jigsaw Zentia Tour$' 2> /dev/null | while read -r w; do
    eval "$(xdotool getwindowgeometry --shell "$w" 2> /dev/null)"
    [ "${HEIGHT:-0}" -lt 300 ] && echo "$w"
  done | head -n1)
  if [ -n "$question" ]; then
    import -window root "$out/browser-save-question.png"
    xdotool windowfocus --sync "$question" key n
  fi
  sleep 0.1
done
kill -0 "$app_pid" 2> /dev/null && fail "the program did not end"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "exit status $status"

settings="$work/data/Orvel Jigsaw Zentia Tour/orvel.ini"
grep -q 'Level=13' "$settings" || fail "the level chosen in the browser was not kept"
grep -q '<Last0> .*Jigsaws/.*\.orv' "$settings" || fail "the opened jigsaw is not the most recent file"
echo "ok: screenshots in $out"
exit 0
