#!/usr/bin/env bash
# package_test.sh BUILD_DIR APP_ID VERSION: the install as a desktop finds it, the Debian package
# holding the same, and the installed program started in Xvfb + openbox.
source "$(dirname "$0")/../e2e/lib.sh" "$1/kelm-prompt"
BUILD=$(realpath "$1")
ID=$2
VERSION=$3
PREFIX=$WORK/prefix

cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || { cat "$WORK/install.log"; exit 1; }
installed() { (cd "$PREFIX" && find . -type f | sed 's|^\./||' | sort); }

# What a desktop looks for, and the size each icon must really have.
for path in bin/kelm-prompt share/applications/$ID.desktop share/metainfo/$ID.metainfo.xml \
    share/man/man1/kelm-prompt.1.gz share/icons/hicolor/scalable/apps/$ID.svg \
    share/doc/kelm-prompt/copyright share/doc/kelm-prompt/changelog.gz; do
    check "installed: $path" yes "$(yes_if test -s "$PREFIX/$path")"
done
for n in 16 24 32 48 64 128 256; do
    check "installed: the ${n}x$n icon" "${n}x$n" "$(identify -format '%wx%h' "$PREFIX/share/icons/hicolor/${n}x$n/apps/$ID.png" 2>&1)"
done
check "nothing else is installed" 14 "$(installed | wc -l)"

desktop=$PREFIX/share/applications/$ID.desktop
check "desktop-file-validate" "" "$(desktop-file-validate "$desktop" 2>&1)"
check "appstreamcli validate --pedantic" 0 "$(appstreamcli validate --pedantic --no-net "$PREFIX/share/metainfo/$ID.metainfo.xml" >"$WORK/as.log" 2>&1; echo $?)"
grep -v '^✔' "$WORK/as.log" | grep . && cat "$WORK/as.log"
check "the desktop entry runs the installed program with its icon" "kelm-prompt $ID" \
    "$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop") $(sed -n 's/^Icon=//p' "$desktop")"
check "the manual page formats without warnings" "" "$(MANWIDTH=80 man --warnings -l "$PREFIX/share/man/man1/kelm-prompt.1.gz" 2>&1 >/dev/null)"

# The package holds exactly what the install puts in place, under /usr, and is as Debian wants it.
(cd "$WORK" && cpack -G DEB -B "$WORK/deb" --config "$BUILD/CPackConfig.cmake" >"$WORK/cpack.log" 2>&1) || cat "$WORK/cpack.log"
deb=$WORK/deb/kelm-prompt_${VERSION}_$(dpkg --print-architecture).deb
check "lintian --pedantic: no errors or warnings" "" \
    "$(lintian --pedantic --info "$deb" 2>&1 | tee "$WORK/lintian.log" | grep -E '^[EW]: ')"
grep -E '^[A-Z]: ' "$WORK/lintian.log"
check "package contents" "$(installed | sed 's|^|usr/|')" \
    "$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort)"
check "package depends on Qt, its platform plugins and the C library; recommends a Chinese font; suggests Wayland" \
    "libqt6widgets6 libqt6gui6 libqt6core6 libc6 qt6-qpa-plugins fonts-noto-cjk qt6-wayland" \
    "$(for p in libqt6widgets6 libqt6gui6 libqt6core6 libc6 qt6-qpa-plugins; do
        dpkg-deb -f "$deb" Depends | grep -ow "$p" | head -n 1; done | xargs) $(dpkg-deb -f "$deb" Recommends | grep -o fonts-noto-cjk) $(dpkg-deb -f "$deb" Suggests)"

# The installed program starts (Qt's own options still reach Qt) with its icon, and ends.
APP=$PREFIX/bin/kelm-prompt
fresh_store
start_x
start_app -display "$DISPLAY"
# Qt may set the icon just after the window is mapped.
check "the installed program's window has an icon" yes "$(yes_if wait_for 5 sh -c "xprop -id $WIN _NET_WM_ICON | grep -q '='")"
stop_app TERM
finish
