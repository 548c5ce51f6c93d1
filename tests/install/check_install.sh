#!/usr/bin/env bash
# check_install.sh <build folder> <cmake>
# Installs the build into a scratch DESTDIR with prefix /usr and checks that
# the program, its data, the desktop entry's program and icon and the
# AppStream metadata are where desktops look for them.
set -euo pipefail
build=$1
cmake=$2
dest=$(mktemp -d "${TMPDIR:-/tmp}/orvel-install.XXXXXX")
trap 'rm -rf "$dest"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$dest" "$cmake" --install "$build" --prefix /usr > "$dest.log" 2>&1 ||
  { cat "$dest.log" >&2; rm -f "$dest.log"; fail "cmake --install"; }
rm -f "$dest.log"
root=$dest/usr

desktop=$(ls "$root"/share/applications/*.desktop 2>/dev/null | head -n1)
[ -n "$desktop" ] || fail "no desktop entry in share/applications"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ -x "$root/bin/$exec_name" ] || fail "Exec=$exec_name is not an installed program"
[ -x "$root/bin/orvel-tool" ] || fail "orvel-tool is not installed"
for size in 16 22 24 32 48 64 128 256; do
  icon=$root/share/icons/hicolor/${size}x${size}/apps/$icon_name.png
  [ -s "$icon" ] || fail "Icon=$icon_name has no ${size}x${size} picture"
  file "$icon" | grep -q "$size x $size" || fail "$icon is not ${size}x${size}"
done

metainfo=$(ls "$root"/share/metainfo/*.metainfo.xml 2>/dev/null | head -n1)
[ -n "$metainfo" ] || fail "no AppStream metadata in share/metainfo"
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
  fail "the metadata does not launch $(basename "$desktop")"

# The program data folder beside bin/, as the program looks for it.
data=$root/share/orvel-jigsaw
for f in language/english.lng language/english.help/cont-zent.htm pic_orvel.dat credits.txt \
         resources/skin.png; do
  [ -e "$data/$f" ] || fail "data file $f is missing"
done

if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
  echo "desktop-file-validate not installed: entry not validated"
fi
if command -v appstreamcli > /dev/null; then
  appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli validate"
else
  echo "appstreamcli not installed: metadata not validated"
fi
echo "installed tree complete"
