#!/usr/bin/env bash
# Installs what is missing, builds Tessel and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/common.sh
. "$root/tools/common.sh"

tessel_install_packages
"$root/tools/check-layers.sh"
tessel_build "$root" "$root/build"
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300
