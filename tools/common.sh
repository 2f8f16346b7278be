# Shared by run.sh and test.sh: install the Debian packages the build needs, then configure and build.
# shellcheck shell=bash

TESSEL_PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-svg-dev libgl-dev
    libtag1-dev libtagc0-dev
    libicu-dev libsqlite3-dev libexpat1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    desktop-file-utils appstream dpkg-dev
)

tessel_missing_packages() {
    local pkg
    for pkg in "${TESSEL_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            printf '%s\n' "$pkg"
        fi
    done
}

tessel_install_packages() {
    local missing
    mapfile -t missing < <(tessel_missing_packages)
    [ "${#missing[@]}" -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}" >&2
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

tessel_build() {
    local root=$1 build=$2
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --parallel "$(nproc)"
}
