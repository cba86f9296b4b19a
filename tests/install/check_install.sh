#!/usr/bin/env bash
# usage: check_install.sh BUILD_DIR VERSION BUILD_NUMBER SOURCE_DIR
set -euo pipefail
build=$1 version=$2 build_number=$3 source=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
flat() { tr -s '[:space:]' ' ' | sed 's/^ //; s/ $//'; }

files=(bin/accelog{,-cli,-sim} share/man/man1/accelog{,-cli,-sim}.1.gz lib/udev/rules.d/70-accelog.rules
  share/applications/accelog.desktop share/mime/packages/accelog.xml share/icons/hicolor/{scalable/apps/accelog.svg,256x256/apps/accelog.png}
  share/doc/accelog/{index.html,copyright})

root=$work/root/usr
DESTDIR=$work/root cmake --install "$build" --prefix /usr >/dev/null
for f in "${files[@]}"; do [[ -f $root/$f ]] || fail "not installed: $f"; done
desktop-file-validate "$root/share/applications/accelog.desktop"

# A file manager opens .kvx files (any case) in accelog, the file named on its command line.
entry=$root/share/applications/accelog.desktop
grep -qx 'Exec=accelog %f' "$entry" || fail "the desktop entry does not pass the file: $(grep ^Exec= "$entry")"
grep -qx 'MimeType=application/x-accelog-kvx;' "$entry" || fail "the desktop entry names no .kvx type"
update-mime-database "$root/share/mime"
grep -qx '50:application/x-accelog-kvx:\*\.kvx' "$root/share/mime/globs2" || fail "no case-insensitive *.kvx glob"
[[ -f $root/share/mime/application/x-accelog-kvx.xml ]] || fail "the .kvx type is not in the MIME database"

for p in accelog accelog-cli accelog-sim; do
  [[ $("$root/bin/$p" --version) == "$p (accelog) $version"$'\n'"Build $build_number" ]] ||
    fail "$p --version: $("$root/bin/$p" --version)"
  # Every line of --help but the headings is on the man page.
  page=$(MANWIDTH=1000 LC_ALL=C man -l "$root/share/man/man1/$p.1.gz" | flat)
  while IFS= read -r line; do
    line=$(flat <<<"$line")
    [[ $page == *"$line"* ]] || fail "$p.1 lacks: $line"
  done < <("$root/bin/$p" --help | sed -E 's/^(Usage|  or): +//; /:$/d; /^$/d')
done

cpack --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null
deb=$(echo "$work"/pkg/*.deb)
listing=$(dpkg-deb -c "$deb")
for f in "${files[@]}"; do grep -q " \./usr/$f\$" <<<"$listing" || fail "not in the package: $f"; done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libusb-1.0-0; do [[ $depends == *"$lib "* ]] || fail "Depends lacks $lib: $depends"; done
[[ $depends != *-dev* ]] || fail "Depends names a -dev package: $depends"
lintian --fail-on error "$deb" || fail "lintian reports errors"

# The default generator (Unix Makefiles) builds and installs as Ninja does.
make_build=$build/makefiles-check
cmake -S "$source" -B "$make_build" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DACCELOG_BENCH=OFF >/dev/null
cmake --build "$make_build" --target programs -j "$(nproc)" >"$work/make.log" 2>&1 || { tail -20 "$work/make.log"; fail "the Unix Makefiles build failed"; }
DESTDIR=$work/make-root cmake --install "$make_build" --prefix /usr >/dev/null
for f in "${files[@]}"; do [[ -f $work/make-root/usr/$f ]] || fail "not installed by the Makefiles build: $f"; done
