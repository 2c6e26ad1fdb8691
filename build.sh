#!/bin/sh
# Builds Quillet on Debian and runs one of its jobs.
#   ./build.sh demo   install missing packages, build, document the bundled example
#   ./build.sh test   install missing packages, build, run every test
#   ./build.sh build  install missing packages and build only
set -eu
cd "$(dirname "$0")"
job=${1:-build}
BUILD_DIR=${BUILD_DIR:-build}

scripts/install-deps.sh

if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)"

case "$job" in
  demo)
    cd examples
    ../"$BUILD_DIR"/quillet -C -V -qlc example.qlc
    echo
    echo "Documentation of the example:"
    echo "  HTML:         $(pwd)/html/index.html"
    echo "  RTF:          $(pwd)/rtf/geo.rtf"
    echo "  WinHelp RTF:  $(pwd)/winhelp/geohelp.rtf (compiling it needs the Windows help compiler hcrtf)"
    ;;
  test)
    ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "$(nproc)"
    ;;
  build) ;;
  *) echo "usage: $0 demo|test|build" >&2; exit 2 ;;
esac
