#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and checks what a desktop needs of it: both
# programs answer --version, the desktop entry and the AppStream metadata validate, and the
# icon and the help documents are in place.
# Usage: tools/check-install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
app_id=org.tessel.Tessel
failed=0
need() {
    if [ ! -e "$prefix/$1" ]; then
        echo "missing: $1" >&2
        failed=1
    fi
}
need bin/tessel
need bin/tessel-cli
need "share/applications/$app_id.desktop"
need "share/metainfo/$app_id.metainfo.xml"
need "share/icons/hicolor/scalable/apps/$app_id.svg"
for size in 16 22 24 32 48 64 128 256; do
    need "share/icons/hicolor/${size}x${size}/apps/$app_id.png"
done
need share/doc/tessel/help/help_0.md
need "share/doc/tessel/about/Read Me.md"

"$prefix/bin/tessel" --version | grep -Eq '^tessel [0-9]+\.[0-9]+' || { echo "tessel --version" >&2; failed=1; }
"$prefix/bin/tessel-cli" --version | grep -Eq '^tessel-cli [0-9]+\.[0-9]+' ||
    { echo "tessel-cli --version" >&2; failed=1; }
desktop-file-validate "$prefix/share/applications/$app_id.desktop" || failed=1
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    { appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml"; failed=1; }
exit "$failed"
