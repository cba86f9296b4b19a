#!/bin/sh
# Whole `accelog-cli export` runs on the largest accepted file (327600
# points), and Python XlsxWriter (constant memory) writing the same workbook.
# Usage: bench/export_bench.sh [ACCELOG_CLI] [RUNS]
set -eu
CLI=${1:-build/release/src/cli/accelog-cli}
RUNS=${2:-3}
PY=/usr/bin/python3
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT

# The benchmarks' largest file: gravity on Z, a vibration on X and Y.
"$PY" - "$DIR/largest.kvx" <<'PY'
import struct, sys
n = 327600
out = bytearray([500 >> 8, 500 & 255, 0, 0, 16, 16, 16, 0, 0]) + struct.pack('>I', n) + bytes([13, 12, 31, 23, 0, 0])
for i in range(n):
    out += struct.pack('<hhh', (i * 37) % 101 - 50, (i * 53) % 61 - 30, 256 + (i * 11) % 9 - 4)
open(sys.argv[1], 'wb').write(out)
PY

run() {  # label, command...: wall and CPU seconds of each run
  label=$1; shift
  for i in $(seq "$RUNS"); do
    /usr/bin/time -f "$label wall %e s  cpu %U+%S s" "$@" 2>&1 >/dev/null | grep wall
  done
}
for ext in txt csv xlsx; do
  run "accelog-cli export .$ext" sh -c "'$CLI' export '$DIR/largest.kvx' '$DIR/out.$ext' --overwrite 2>/dev/null"
done
ls -l "$DIR"/out.* | awk '{print $5, $9}'

# The same cells from the text export, written by Python XlsxWriter; only the
# writing is timed.
if "$PY" -c 'import xlsxwriter' 2>/dev/null; then
  "$PY" - "$DIR/out.txt" "$DIR/py.xlsx" "$RUNS" <<'PY'
import sys, time, xlsxwriter
rows = []
with open(sys.argv[1], 'rb') as f:
    f.readline()
    for line in f:
        t = line.decode('ascii')
        rows.append((int(t[0:7]), t[8:18], t[20:28], float(t[32:42]), float(t[43:53]), float(t[54:64]),
                     float(t[86:106]), float(t[107:127]), float(t[128:148])))
for run in range(int(sys.argv[3])):
    start = time.perf_counter(); cpu = time.process_time()
    wb = xlsxwriter.Workbook(sys.argv[2], {'constant_memory': True})
    ws = wb.add_worksheet('sheet1')
    whole, tenth = wb.add_format({'num_format': '0'}), wb.add_format({'num_format': '0.0'})
    for c, h in enumerate(['No', 'Date', 'Time', 'X(mg)', 'Y(mg)', 'Z(mg)', 'X Angle(degree)', 'Y Angle(degree)', 'Z Angle(degree)']):
        ws.write_string(0, c, h)
    for r, v in enumerate(rows, 1):
        ws.write_number(r, 0, v[0], whole); ws.write_string(r, 1, v[1]); ws.write_string(r, 2, v[2])
        for c in range(3, 6): ws.write_number(r, c, v[c], whole)
        for c in range(6, 9): ws.write_number(r, c, v[c], tenth)
    for c, w in enumerate([4, 10, 10, 10, 10, 10, 15, 15, 15]):
        ws.set_column(c, c, w)
    wb.close()
    print('python XlsxWriter .xlsx wall %.2f s  cpu %.2f s' % (time.perf_counter() - start, time.process_time() - cpu))
PY
else
  echo "python3-xlsxwriter is not installed: no side-by-side figure"
fi
