#!/usr/bin/env bash
# Installs what is missing, builds Tessel and starts it: without arguments the desktop app,
# with arguments tessel-cli, for example:
# ./run.sh search-replace --folder ~/Music --search feat. --replace ft.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build=${TESSEL_BUILD_DIR:-$root/build}
# shellcheck source=tools/common.sh
. "$root/tools/common.sh"

tessel_install_packages
# The build reports on standard error, so what tessel-cli prints (JSON, say) stays clean.
tessel_build "$root" "$build" >&2
if [ "$#" -eq 0 ]; then
    exec "$build/src/gui/tessel"
fi
exec "$build/src/cli/tessel-cli" "$@"
