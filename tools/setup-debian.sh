#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libxcb1-dev
    libfontconfig-dev libgtest-dev fonts-wqy-microhei xvfb openbox xdotool x11-utils imagemagick clang
    libclang-rt-14-dev desktop-file-utils appstream man-db dpkg-dev file strace lintian valgrind
    dbus-daemon libglib2.0-bin at-spi2-core python3-pyatspi)
# The Windows build: mingw-w64 with posix threads (GoogleTest needs std::mutex), the GoogleTest
# sources to build for Windows, Wine to run it, and NSIS for its installer. Wine's recommends are
# large and unneeded, except its Tahoma (fonts-wine), named here.
windows_packages=(g++-mingw-w64-x86-64-posix googletest wine wine64 fonts-wine nsis)

missing() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
    done
}
mapfile -t need < <(missing "${packages[@]}")
mapfile -t need_windows < <(missing "${windows_packages[@]}")
[ ${#need[@]} -eq 0 ] && [ ${#need_windows[@]} -eq 0 ] && exit 0
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
echo "Installing: ${need[*]} ${need_windows[*]}"
"${as_root[@]}" apt-get update -qq
export DEBIAN_FRONTEND=noninteractive
if [ ${#need[@]} -gt 0 ]; then
    "${as_root[@]}" apt-get install -y -qq "${need[@]}" >/dev/null
fi
if [ ${#need_windows[@]} -gt 0 ]; then
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${need_windows[@]}" >/dev/null
fi
