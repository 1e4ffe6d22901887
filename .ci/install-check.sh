#!/usr/bin/env bash
# CI: installs Vennic the way a user of Debian would. Packs the default build (build/) into a
# .deb, installs it with apt-get, validates the desktop entry and the metainfo it put in place,
# then starts the installed program on a virtual display in an empty temporary folder, waits for
# its window and closes it through the File menu. Any step that fails fails the check.
set -euo pipefail
self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
cd "$(dirname "$self")/.."

app_id=io.github.vennic.Vennic
window_seconds=${VENNIC_WINDOW_SECONDS:-60}

# Runs on the virtual display: starts the installed program in the folder given, waits until its
# main window shows, closes it and expects a clean exit.
window_check() {
    local work=$1
    cd "$work"
    # A home of its own keeps the user's real settings out of the run and unchanged by it.
    export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -p "$HOME"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    # The window-system plugin from the package's dependencies, not the test suite's offscreen one.
    export QT_QPA_PLATFORM=xcb
    /usr/bin/vennic >"$work/vennic.log" 2>&1 &
    local pid=$!
    local window
    if ! window=$(timeout "$window_seconds" xdotool search --sync --onlyvisible --name '^Vennic$' |
        head -n 1) || [ -z "$window" ]; then
        echo "The installed program showed no window titled \"Vennic\" within ${window_seconds}s." >&2
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        cat "$work/vennic.log" >&2
        return 1
    fi
    echo "The window \"$(xdotool getwindowname "$window")\" shows (window id $window)."

    # There is no window manager to ask for the close, so the check uses the program's own
    # File > Exit, by keyboard. The menu opens asynchronously; the keys are sent again until the
    # program has gone or the time is up.
    local tries=0
    while kill -0 "$pid" 2>/dev/null && [ "$tries" -lt 10 ]; do
        xdotool windowfocus --sync "$window" 2>/dev/null || true
        xdotool key --clearmodifiers alt+f 2>/dev/null || true
        sleep 0.5
        xdotool key --clearmodifiers x 2>/dev/null || true
        local waited=0
        while kill -0 "$pid" 2>/dev/null && [ "$waited" -lt 10 ]; do
            sleep 0.2
            waited=$((waited + 1))
        done
        tries=$((tries + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "The installed program did not close through File > Exit." >&2
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        cat "$work/vennic.log" >&2
        return 1
    fi
    local status=0
    wait "$pid" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "The installed program exited with status $status." >&2
        cat "$work/vennic.log" >&2
        return 1
    fi
    echo "The window closed and the program exited cleanly."
}

if [ "${1:-}" = "--window-check" ]; then
    window_check "$2"
    exit
fi

source tools/setup.sh
vennic_install_missing "${VENNIC_BUILD_PACKAGES[@]}" "${VENNIC_PACKAGE_CHECK_PACKAGES[@]}"
vennic_build

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi

# An older package left in build/ would match the install's name pattern too.
rm -f build/vennic_*.deb
(cd build && cpack -G DEB)
debs=(build/vennic_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "cpack made no single vennic_*.deb in build/." >&2
    exit 1
fi
dpkg-deb --info "${debs[0]}"

# --reinstall: an installed package of the same version would otherwise be kept as it is.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --reinstall "./${debs[0]}"

desktop=/usr/share/applications/$app_id.desktop
metainfo=/usr/share/metainfo/$app_id.metainfo.xml
icon=/usr/share/icons/hicolor/scalable/apps/$app_id.svg
manpage=/usr/share/man/man1/vennic.1
for file in /usr/bin/vennic "$desktop" "$metainfo" "$icon" "$manpage"; do
    if ! dpkg-query -S "$file" >/dev/null 2>&1; then
        echo "The package did not install $file." >&2
        exit 1
    fi
done
if ldd /usr/bin/vennic | grep -q 'not found'; then
    echo "The installed program lacks libraries its package does not depend on:" >&2
    ldd /usr/bin/vennic | grep 'not found' >&2
    exit 1
fi
# The command line answers without a window.
if ! /usr/bin/vennic --version | grep -q '^vennic [0-9]'; then
    echo "The installed program does not say its version." >&2
    exit 1
fi
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$self" --window-check "$work"
echo "Install check passed: ${debs[0]} installs, validates and opens its window."
