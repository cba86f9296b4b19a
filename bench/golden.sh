#!/usr/bin/env bash
# Everything a user can see from the command line, recorded so a change that
# must not alter behaviour can be checked against the commit before it.
#   golden.sh record BUILD_DIR OUT_DIR      write the outputs to OUT_DIR
#   golden.sh compare BUILD_DIR GOLDEN_DIR  record anew and diff against GOLDEN_DIR
# Files come from accelog-sim with fixed seeds, so both runs see the same bytes.
set -euo pipefail

mode=${1:?record|compare}; build=$(cd "${2:?BUILD_DIR}" && pwd); dest=${3:?DIR}
cli=$build/src/cli/accelog-cli
sim=$build/src/sim/accelog-sim
# A fixed folder: the path shows in the chart's file box.
work=/tmp/accelog-golden.$UID
# One run at a time: the folder is shared by every checkout.
exec 9>"$work.lock"; flock 9
rm -rf "$work"; mkdir -p "$work"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work" "$work.now"' EXIT
export XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen TZ=UTC
mkdir -p "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

start_sim() {  # socket, then accelog-sim options
  local sock=$1; shift
  "$sim" --socket "$sock" "$@" >/dev/null 2>&1 &
  for _ in $(seq 200); do [[ -S $sock ]] && return 0; sleep 0.05; done
  echo "accelog-sim did not start: $*" >&2; return 1
}

record() {
  local out=$1; mkdir -p "$out"
  # Recorded memories of several sizes, saved as downloads would write them.
  for n in 1 7 8 200 3000 327600; do
    start_sim "$work/m$n.sock" --samples "$n" --seed "$n" --save-memory "$work/f$n.kvx"
    kill %% && wait %% 2>/dev/null || true
  done
  for n in 1 7 8 200 3000; do
    local f=$work/f$n.kvx o=$out/f$n
    run() { local name=$1; shift; { "$@"; echo "exit $?"; } >"$o.$name" 2>&1 || true; }
    run info "$cli" info "$f"
    run info-json "$cli" info "$f" --json
    run points "$cli" points "$f"
    run slots "$cli" slots "$f"
    run spectrum "$cli" spectrum "$f" --json
    run spectrum-hann "$cli" spectrum "$f" --json --window hann
    for ext in txt csv xlsx; do
      run export-$ext "$cli" export "$f" "$work/e$n.$ext" --overwrite
      if [[ $ext == xlsx ]]; then
        unzip -p "$work/e$n.xlsx" xl/worksheets/sheet1.xml >"$o.sheet.xml" 2>/dev/null || true
      else
        cp "$work/e$n.$ext" "$o.$ext" 2>/dev/null || true
      fi
    done
    run render "$cli" render "$f" "$work/r$n.png"
    [[ -f $work/r$n.png ]] && cp "$work/r$n.png" "$o.png"
    run print "$cli" print "$f" "$work/p$n.pdf"
    # The PDF carries its creation time: compare the page as pixels.
    [[ -f $work/p$n.pdf ]] && pdftoppm -r 30 -gray "$work/p$n.pdf" >"$o.pdf.pgm"
  done
  "$cli" info "$work/f327600.kvx" --json >"$out/f327600.info-json" 2>&1 || true
  # A download and a live capture from the simulated logger.
  start_sim "$work/d.sock" --samples 3000 --seed 5
  { "$cli" --device "sim:$work/d.sock" download "$work/d.kvx"; echo "exit $?"; } >"$out/download.out" 2>&1 || true
  cp "$work/d.kvx" "$out/download.kvx" 2>/dev/null || true
  { "$cli" --device "sim:$work/d.sock" live "$work/l.kvx" --interval 100 --unit ms --limit 5 --limit-kind count; echo "exit $?"; } >"$out/live.out" 2>&1 || true
  # The capture's start is the moment it ran: leave out date and time.
  "$cli" points "$work/l.kvx" 2>&1 | cut -d, -f1,4- >"$out/live.points" || true
  kill %% && wait %% 2>/dev/null || true
  # Temporary paths and the progress bar (paced by the clock) are not behaviour.
  sed -i -e 's/\r/\n/g' "$out"/*.out
  sed -i -e '/^\[[#.]*\] [0-9]*\/[0-9]*$/d' -e '/^$/d' "$out"/*.out "$out"/*.print "$out"/*.render \
    "$out"/*.export-* 2>/dev/null || true
}

case $mode in
  record) record "$dest" ;;
  compare)
    record "$work.now"
    if diff -r "$dest" "$work.now" >"$work/diff"; then
      echo "no difference from $dest"
    else
      head -50 "$work/diff"; echo "outputs differ from $dest" >&2; exit 1
    fi ;;
  *) echo "usage: golden.sh record|compare BUILD_DIR DIR" >&2; exit 64 ;;
esac
