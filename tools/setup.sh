#!/usr/bin/env bash
# Shared set-up of ./run and ./test: installs the Debian packages that are missing (none when
# all are present), then configures and builds. Source it; it expects VENNIC_PACKAGES set.
set -euo pipefail

vennic_install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "Missing packages (${missing[*]}) and no sudo to install them; run as root." >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures a preset of CMakePresets.json once (when its build folder has no build.ninja yet)
# and builds it: vennic_build [preset [build folder]], by default the program's own build.
vennic_build() {
    local preset=${1:-default} dir=${2:-build}
    local top
    top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    cd "$top"
    if [ ! -f "$dir/build.ninja" ]; then
        cmake --preset "$preset" >/dev/null
    fi
    cmake --build --preset "$preset"
}

# What building needs; fonts-dejavu-extra holds the condensed faces the small print falls back
# on where a date or time is too wide for its column.
VENNIC_BUILD_PACKAGES=(qt6-base-dev libgtest-dev libgmock-dev cmake g++ ninja-build libgl-dev
                       libglx-dev qt6-qpa-plugins fonts-dejavu-core fonts-dejavu-extra libicu-dev)
# What the tests need beyond building: pdftotext, which reads printed PDF files back.
VENNIC_TEST_PACKAGES=(poppler-utils)
# What the checks beyond the tests need: clang with libFuzzer and its sanitizer runtimes for the
# fuzz targets, gcc's sanitizer runtimes for the sanitizer build, and llvm-symbolizer so that
# sanitizer reports name functions and lines; clang-format for the format check.
VENNIC_CHECK_PACKAGES=(clang clang-format libclang-rt-14-dev llvm-14 libasan8 libubsan1 libtsan2)
# What the system print check (.ci/print-check.sh) needs: a CUPS scheduler, its PDF-writing
# backend, and pdftotext to read back what was printed.
VENNIC_PRINT_CHECK_PACKAGES=(cups printer-driver-cups-pdf poppler-utils)
# What the install check (.ci/install-check.sh) needs: dpkg-shlibdeps and file for CPack to find
# the package's dependencies, the validators of the desktop entry and the metainfo, and a
# virtual display with xdotool to see the installed program's window open.
VENNIC_PACKAGE_CHECK_PACKAGES=(dpkg-dev file desktop-file-utils appstream xvfb xauth xdotool)
