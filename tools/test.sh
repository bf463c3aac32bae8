#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once on the normal build, once more
# under AddressSanitizer and UBSan, and once on the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh
bash tools/build.sh build -DKELM_TESTS=ON -DKELM_SANITIZE=OFF
(cd build && ctest --output-on-failure --timeout 300)
bash tools/build.sh build-asan -DKELM_TESTS=ON -DKELM_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
(cd build-asan && ctest --output-on-failure --timeout 300)
# Short fuzz runs with a fixed seed; see tests/fuzz/CMakeLists.txt for longer ones.
cmake -S tests/fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j"$(nproc)"
(cd build-fuzz && ctest --output-on-failure --timeout 300)
# The Windows build, its tests under Wine.
cmake --workflow --preset win32
