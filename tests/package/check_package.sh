#!/usr/bin/env bash
# Builds the Debian package of a build folder and checks it as a user's
# system would see it: the files it installs, the desktop entry and
# metainfo validators, the manual pages, and the programs run from an
# extraction into a temporary root (no root rights needed). Also checks that
# pln-demo, which is not packaged, answers --help without writing anything.
#   check_package.sh BUILD_DIR APP_ID VERSION PLN_DEMO
set -euo pipefail
build=$1 id=$2 version=$3 demo=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" || {
    cat "$work/cpack.log"; fail "cpack"; }
deb=$work/out/pln_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb"
dpkg-deb -f "$deb" Package Version Maintainer Depends Description
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks Qt"

expected="./usr/bin/PLN
./usr/bin/PLNViewer
./usr/bin/pln-tool
./usr/share/applications/$id.desktop
./usr/share/doc/pln/README.md
./usr/share/icons/hicolor/256x256/apps/$id.png
./usr/share/icons/hicolor/48x48/apps/$id.png
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/man/man1/PLN.1.gz
./usr/share/man/man1/PLNViewer.1.gz
./usr/share/man/man1/pln-tool.1.gz
./usr/share/metainfo/$id.metainfo.xml"
listed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
[ "$listed" = "$expected" ] || { diff <(echo "$expected") <(echo "$listed"); fail "package files"; }

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo"
for size in 48 256; do
    file "$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png" |
        grep -q "PNG image data, $size x $size" || fail "$size px icon"
done
for program in PLNViewer PLN pln-tool; do
    zcat "$root/usr/share/man/man1/$program.1.gz" | grep -q 'XDG_DATA_HOME/eMule/config' ||
        fail "$program.1 says nothing of eMule's folder"
    [[ $(QT_QPA_PLATFORM=offscreen "$root/usr/bin/$program" --version) =~ ^$program\ $version ]] ||
        fail "$program --version"
    "$root/usr/bin/$program" --help | grep -q "^Usage: $program" || fail "$program --help"
done
QT_QPA_PLATFORM=offscreen "$root/usr/bin/PLNViewer" --version | grep -qx "PLNViewer $version (Qt 6[.0-9]*)" ||
    fail "PLNViewer --version names no Qt"

(cd "$work" && "$demo" --help > /dev/null && ! "$demo" --bogus 2> /dev/null) || fail "pln-demo options"
[ "$(ls -A "$work" | sort | tr '\n' ' ')" = "cpack.log out root " ] || fail "pln-demo wrote a profile"
echo "package checked: $deb"
