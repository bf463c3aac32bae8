#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test on the builds users make:
# - build/:       GCC, Release (-O3): the configuration of the Debian package and of cmake --install;
# - build-asan/:  clang, Debug (-O0), AddressSanitizer and UBSan;
# - build-fuzz/:  the fuzz targets (clang, -O1, sanitizers), a minute each from a kept corpus;
# - build-win32/: the Windows exe (mingw-w64 GCC, -Os), its tests under Wine.
# Each build runs with at most two jobs at once, as on the smallest machine we build on.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh

# The Wine servers the Windows tests start keep running on their own: end them, whatever happens.
end_wine() {
    local prefix
    for prefix in build-win32/wineprefix*/; do
        [ -f "$prefix/system.reg" ] && WINEPREFIX=$PWD/$prefix wineserver -k 2>/dev/null || true
    done
}
trap end_wine EXIT

# A clean build draws the images once: a rule run twice at once under -j2 clashes with itself.
fresh=$([ -f build/CMakeCache.txt ] && echo no || echo yes)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKELM_TESTS=ON -DKELM_SANITIZE=OFF >/dev/null
cmake --build build -j2 2>&1 | tee build/build.log
if [ "$fresh" = yes ] && [ "$(grep -c 'Drawing the icon' build/build.log)" != 1 ]; then
    echo "a clean parallel build drew the images more than once" >&2
    exit 1
fi
(cd build && ctest --output-on-failure --timeout 300)

cmake -S . -B build-asan -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DKELM_TESTS=ON \
    -DKELM_SANITIZE=ON >/dev/null
cmake --build build-asan -j2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
(cd build-asan && ctest --output-on-failure --timeout 300)

# Fuzz runs of a fixed length from the corpus in tests/fuzz; see tests/fuzz/CMakeLists.txt.
cmake -S tests/fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j2
(cd build-fuzz && ctest --output-on-failure --timeout 300)

# The Windows build, its tests under Wine.
cmake --workflow --preset win32
