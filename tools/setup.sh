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

packages=(cmake g++ make qt6-base-dev libsqlite3-dev libgl-dev fonts-liberation2 xdg-utils)
if [ "$mode" = test ]; then
  packages+=(libbenchmark-dev cups cups-bsd printer-driver-cups-pdf poppler-utils)
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

# One real print job goes through CUPS' PDF printer; the rest of the tests need no service.
bash tools/start-pdf-printer.sh || echo "warning: no CUPS PDF printer; the real print test will say so"
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure
