#!/usr/bin/env bash
# Builds Tessel and runs the speed benchmarks of a large library, each figure printed beside its
# floor measured in the same run: a 10,000-file Search & Replace (preview and apply against bare
# single-threaded TagLib loops), a 100,000-track Library.xml (import and listings against
# Python's plistlib) and a 100,000-row change panel. Takes a quarter of an hour or more; run it
# on a quiet machine.
#
#   bench/run.sh [FILES [TRACKS]]   (defaults 10000 and 100000)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/common.sh
. "$root/tools/common.sh"

files=${1:-10000}
tracks=${2:-100000}
# Python's plistlib gives the import its floor.
TESSEL_PACKAGES+=(python3)
tessel_install_packages
tessel_build "$root" "$root/build"

bench="$root/build/bench"
echo "== machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== Search & Replace over $files files"
"$bench/searchreplace/searchreplace_bench" "$files"
echo "== Library.xml of $tracks tracks"
"$bench/library/library_bench" "$tracks"
echo "== change panel of $tracks rows"
QT_QPA_PLATFORM=offscreen "$bench/changepanel/change_panel_bench" "$tracks"
