#!/bin/sh
# Installs the build into a temporary prefix and checks the desktop application's files.
# Usage: install_check.sh BUILD_DIR APP_ID VERSION
set -eu
build=$1 id=$2 version=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
for file in bin/scorvex lib/scorvex/scorvex-remote.so lib/scorvex/scorvex-sound.so \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/man/man1/scorvex.1 \
    share/scorvex/manual/handbuch.html share/scorvex/manual/manual.html \
    share/scorvex/manual/images/konsole.png share/scorvex/translations/scorvex_en.qm; do
  [ -f "$prefix/$file" ] || { echo "missing: $file"; status=1; }
done
for size in 16 22 24 32 48 64 128 256; do
  icon=share/icons/hicolor/${size}x$size/apps/$id.png
  file "$prefix/$icon" 2>/dev/null | grep -q "PNG image data, $size x $size" ||
    { echo "missing or wrong size: $icon"; status=1; }
done
[ "$("$prefix/bin/scorvex" --version)" = "Scorvex $version" ] ||
  { echo "the installed program does not print its version"; status=1; }
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" || status=1
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml" || status=1
fi
exit $status
