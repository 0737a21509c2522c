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
packages=(cmake g++ make qt6-base-dev qt6-charts-dev libqt6opengl6-dev libsqlite3-dev libgl-dev
          fonts-liberation2 xdg-utils)
if [ "$mode" = test ]; then
  # A real printer (CUPS' PDF printer), the reports' real readers (LibreOffice), and for the
  # package test a virtual display to start the unpacked program on, keys to press, and the
  # desktop files' validators.
  packages+=(libbenchmark-dev cups cups-bsd cups-client printer-driver-cups-pdf poppler-utils
             libreoffice-writer-nogui libreoffice-calc-nogui
             xvfb openbox xdotool desktop-file-utils appstream file)
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
  "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake --build build-asan -j"$(nproc)"
cd build-asan
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure
