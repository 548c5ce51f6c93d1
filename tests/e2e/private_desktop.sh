# Sourced by the end-to-end scripts: a private X server and fresh XDG folders
# for the program under test. private_desktop [TOOL...] skips the test (exit
# 77) when Xvfb, xdotool, import or one of the named tools is missing; it sets
# work (a scratch folder), DISPLAY and the XDG folders, and leaves app_pid for
# the caller. Everything, the program included, goes away when the script ends.

cleanup() {
  [ -n "$app_pid" ] && kill -KILL "$app_pid" 2> /dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  rm -rf "$work"
}

private_desktop() {
  local tool
  for tool in Xvfb xdotool import "$@"; do
    command -v "$tool" > /dev/null || { echo "skipped: $tool missing"; exit 77; }
  done
  work=$(mktemp -d)
  xvfb_pid=""
  app_pid=""
  trap cleanup EXIT

  # A free display number, reported by the server itself. -noreset: the server
  # otherwise resets when its last client leaves, and a program started right
  # after the previous one ended may then find no display (seen about once in
  # 300 connections, and in later runs under load).
  exec 3<> "$work/displayfd"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset > "$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local display=""
  for _ in $(seq 50); do
    display=$(head -n1 "$work/displayfd" 2> /dev/null)
    [ -n "$display" ] && break
    sleep 0.1
  done
  [ -n "$display" ] || { echo "Xvfb did not start"; exit 1; }
  export DISPLAY=":$display"

  mkdir -p "$work/data" "$work/config" "$work/runtime" "$work/home"
  chmod 700 "$work/runtime"
  export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
  export XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
}
