#!/usr/bin/env bash
# Builds wayfarer.exe and the demo-world generator, puts the demo world beside a
# copy of the program in build/demo/ and starts it under Wine. With a display the
# window opens for you; without one the program runs on a private Xvfb, a
# screenshot of its window is saved (the path is printed) and the program is
# closed again through its own close command.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
root=$(pwd)
demo=$root/build/demo
log=$root/build/run-logs
mkdir -p "$log"

step() { printf '== %s\n' "$*" >&2; }

step "checking packages"
grep -v '^#' scripts/packages.txt | xargs scripts/ensure-packages
scripts/check-packages

step "building wayfarer.exe"
scripts/build-targets windows "$log" wayfarer window-control
step "building the demo-world generator"
scripts/build-targets native "$log" wayfarer-demo-world

exe=$root/build/windows/src/app/wayfarer.exe
control=$root/build/windows/tools/window-control/window-control.exe
mkdir -p "$demo"
cp "$exe" "$demo/wayfarer.exe"
# The world is made once: the places and the map you chose live in its files
# and are kept from run to run. Delete build/demo to start afresh. The marker
# holds the world's version; a world of an older one is made anew.
world_version=2
if [ "$(cat "$demo/.demo-world" 2>/dev/null)" != "$world_version" ]; then
  step "generating the demo world in $demo"
  rm -f "$demo"/map*.mul "$demo"/map*.uop
  "$root/build/native/tools/demo-world/wayfarer-demo-world" "$demo" >&2
  echo "$world_version" > "$demo/.demo-world"
fi

scripts/wine-prefix
# The data files are named relative to the working directory.
cd "$demo"

if [ -n "${DISPLAY:-}" ]; then
  step "starting wayfarer.exe on $DISPLAY (close its window to end)"
  exec "$root/scripts/wine-run" wayfarer.exe
fi

step "no display: starting Xvfb"
read -r display xvfb_pid < <("$root/scripts/start-xvfb")
export DISPLAY=$display
program_pid=
decoration=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$decoration" ] && "$root/scripts/wine-run" reg delete "$decoration" /v Decorated /f >/dev/null 2>&1
  WINEPREFIX=$root/build/wineprefix wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# No window manager runs on the private display, so Wine draws the window's frame
# and caption itself for this run; a run on your own display keeps your window
# manager's.
decoration='HKCU\Software\Wine\AppDefaults\wayfarer.exe\X11 Driver'
"$root/scripts/wine-run" reg add "$decoration" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
"$root/scripts/wine-run" wayfarer.exe &
program_pid=$!
if ! "$root/scripts/wine-run" "$control" wait WayfarerMapWindow Map 120; then
  echo "the window did not appear" >&2
  exit 1
fi
read -r left top width height < <("$root/scripts/wine-run" "$control" rect WayfarerMapWindow Map | tr -d '\r')
shots=$root/build/screenshots
mkdir -p "$shots"
shot=$shots/wayfarer-demo.png
# The pointer starts in the middle of the screen, over the overview, where it
# would show its tip; out of the way, the picture is the window alone.
xdotool mousemove 0 0 2>/dev/null && sleep 1
import -window root -crop "${width}x${height}+${left}+${top}" +repage "$shot"

step "closing the program"
"$root/scripts/wine-run" "$control" close WayfarerMapWindow Map
status=0
wait "$program_pid" || status=$?
program_pid=
if [ "$status" -ne 0 ]; then
  echo "wayfarer.exe ended with exit code $status" >&2
  exit 1
fi
echo "$shot"
