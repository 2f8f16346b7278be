#!/usr/bin/env bash
# Installs what is missing, builds Tessel, and runs tessel-cli with the arguments given, for
# example: ./run.sh search-replace --folder ~/Music --search feat. --replace ft.
# Without arguments it prints tessel-cli's usage.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build=${TESSEL_BUILD_DIR:-$root/build}
# shellcheck source=tools/common.sh
. "$root/tools/common.sh"

tessel_install_packages
# The build reports on standard error, so what tessel-cli prints (JSON, say) stays clean.
tessel_build "$root" "$build" >&2
cli="$build/src/cli/tessel-cli"
if [ "$#" -eq 0 ]; then
    exec "$cli" --help
fi
exec "$cli" "$@"
