#!/usr/bin/env bash
# make run: the program on a real logger when one is attached, else on the
# built-in simulated logger; without a display, a headless demo of the same
# engines (simulated logger, download, inspection).
set -euo pipefail
build=${1:-build/default}
gui="$build/src/ui/accelog"
cli="$build/src/cli/accelog-cli"
sim="$build/src/sim/accelog-sim"

logger_attached() {
  local d
  for d in /sys/bus/usb/devices/*; do
    [[ -r "$d/idVendor" && -r "$d/idProduct" ]] || continue
    [[ "$(cat "$d/idVendor")" == 1041 && "$(cat "$d/idProduct")" == 8102 ]] && return 0
  done
  return 1
}

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  if logger_attached; then
    echo "accelog: logger 1041:8102 attached, using it"
    exec "$gui"
  fi
  echo "accelog: no logger attached, starting on the simulated logger"
  exec "$gui" --simulate
fi

echo "accelog: no display here, so a headless demo on the same engines:"
work=$(mktemp -d)
trap 'kill "${sim_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
"$sim" --socket "$work/logger.sock" --samples 2000 &
sim_pid=$!
for _ in $(seq 50); do [[ -S "$work/logger.sock" ]] && break; sleep 0.1; done
export XDG_DATA_HOME="$work/data"
echo "--- accelog-cli scan"
"$cli" --device "sim:$work/logger.sock" scan
echo "--- accelog-cli download"
"$cli" --device "sim:$work/logger.sock" download "$work/demo.kvx"
echo "--- accelog-cli info"
"$cli" info "$work/demo.kvx"
echo "Start a display (or run under xvfb-run) to see the window: accelog --simulate"
