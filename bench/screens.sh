#!/usr/bin/env bash
# The main views at 1x under Xvfb, for comparing a change that must not alter
# what the window shows:
#   screens.sh record BUILD_DIR OUT_DIR      write the screenshots to OUT_DIR
#   screens.sh compare BUILD_DIR GOLDEN_DIR  take them anew and count differing pixels
# The file comes from accelog-sim with a fixed seed. Needs Xvfb, xdotool, ImageMagick.
set -euo pipefail

mode=${1:?record|compare}; build=$(cd "${2:?BUILD_DIR}" && pwd); dest=${3:?DIR}
display=:${SCREENS_DISPLAY:-97}
work=/tmp/accelog-screens.$UID
rm -rf "$work"; mkdir -p "$work/data" "$work/run"; chmod 700 "$work/run"
export XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run TZ=UTC DISPLAY=$display
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $(jobs -p) 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1

"$build/src/sim/accelog-sim" --socket "$work/s.sock" --samples 3000 --seed 5 --save-memory "$work/f.kvx" >/dev/null 2>&1 &
for _ in $(seq 100); do [[ -S $work/s.sock ]] && break; sleep 0.05; done
kill %%; wait %% 2>/dev/null || true

shoot() { sleep 1.5; import -window root "$1/$2.png"; }
start() {  # accelog arguments
  "$build/src/ui/accelog" --simulate "$@" >/dev/null 2>&1 &
  app=$!
}
stop() { kill $app 2>/dev/null || true; wait $app 2>/dev/null || true; }

take() {
  local out=$1; mkdir -p "$out"
  start; shoot "$out" empty; stop
  start "$work/f.kvx"; shoot "$out" acceleration
  # The three angle curves on, then a drag zoom in the plot.
  for y in 357 379 401; do xdotool mousemove 1062 $y click 1; done
  shoot "$out" angles
  xdotool mousemove 300 300 mousedown 1 mousemove 400 350 mousemove 500 400 mouseup 1
  shoot "$out" zoomed
  # The data list from the tool bar.
  xdotool mousemove 621 38 click 1
  shoot "$out" data-list
  stop
}

if [[ $mode == record ]]; then
  take "$dest"
else
  take "$work/now"; status=0
  for f in "$dest"/*.png; do
    n=$(compare -metric AE "$f" "$work/now/$(basename "$f")" null: 2>&1 || true)
    echo "$(basename "$f"): $n pixels differ"
    [[ $n == 0 ]] || { status=1; cp "$work/now/$(basename "$f")" "$dest/../now-$(basename "$f")"; }
  done
  exit $status
fi
