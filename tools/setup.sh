#!/usr/bin/env bash
# Installs what Orvelin needs on Debian 12 (as root), builds it, then either starts the
# program on the sample menu ("run") or runs every test ("test").
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-}
case "$mode" in
  run|test) ;;
  *) echo "usage: tools/setup.sh run|test" >&2; exit 2 ;;
esac

# Qt Charts draws the sales summary's chart; its CMake package also needs Qt OpenGL's, which
# Debian's qt6-charts-dev does not pull in.
packages=(cmake g++ make qt6-base-dev qt6-charts-dev libqt6opengl6-dev libsqlite3-dev libicu-dev
          libgl-dev fonts-liberation2 xdg-utils)
if [ "$mode" = test ]; then
  # A real printer (CUPS' PDF printer), the reports' real readers (LibreOffice), and for the
  # package test a virtual display to start the unpacked program on, keys to press, and the
  # desktop files' validators.
  packages+=(cups cups-bsd cups-client printer-driver-cups-pdf poppler-utils
             libreoffice-writer-nogui libreoffice-calc-nogui
             xvfb openbox xdotool desktop-file-utils appstream file clang)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

if [ "$mode" = run ]; then
  exec ./build/orvelin
fi

# Real print jobs go through CUPS' PDF printer; the rest of the tests need no service. In CI
# the print tests fail when the printer could not be made.
bash tools/start-pdf-printer.sh || echo "warning: no CUPS PDF printer; the print tests will say so"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer (leaks
# included): any report fails the run.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug \
  "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined -O1"
cmake --build build-asan -j"$(nproc)"
cd build-asan
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure

# The fuzz targets over upper(), like(), the search text and picture files, built with clang,
# libFuzzer, ASan and UBSan, each for 15 seconds from its checked-in corpus: a crash, a leak
# or a broken rule fails the run.
cd ..
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DORVELIN_FUZZ=ON \
  "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined,fuzzer-no-link -fno-omit-frame-pointer -fno-sanitize-recover=undefined -O1"
cmake --build build-fuzz -j"$(nproc)" --target fuzz_upper fuzz_like fuzz_search fuzz_picture
for target in fuzz_upper fuzz_like fuzz_search fuzz_picture; do
  work=$(mktemp -d)
  QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "build-fuzz/tests/fuzz/$target" -max_total_time=15 -rss_limit_mb=4096 -print_final_stats=0 \
    -artifact_prefix="build-fuzz/$target-" "$work" "tests/fuzz/corpus/$target"
  rm -rf "$work"
done
echo "fuzzing: 4 passed, 0 failed"
