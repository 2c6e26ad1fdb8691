#!/bin/sh
# Documents the bundled example in a scratch copy of examples/ and compares a digest of every HTML, RTF,
# WinHelp and chart file it writes with the digests stored in tests/data/example_output.sha256, so that a
# change that should not touch the output provably does not. The date is fixed with SOURCE_DATE_EPOCH and
# the locale with LC_ALL. After an intended change of the output, store the new digests with
#   tests/styles/example_digest.sh build/quillet --update
set -eu
quillet=$(realpath "$1")
mode=${2:-check}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
stored="$source_dir/tests/data/example_output.sha256"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -r "$source_dir/examples" "$work/examples"
rm -rf "$work/examples/html" "$work/examples/rtf" "$work/examples/winhelp"
cd "$work/examples"
env -u QUILLET_STYLES XDG_CONFIG_HOME="$work/config" SOURCE_DATE_EPOCH=1700000000 LC_ALL=C \
  "$quillet" -C -qlc example.qlc > "$work/log" 2>&1 || { cat "$work/log"; exit 1; }
find html rtf winhelp -type f | LC_ALL=C sort | xargs sha256sum > "$work/digests"

if [ "$mode" = "--update" ]; then
  cp "$work/digests" "$stored"
  echo "stored $(wc -l < "$stored") digests in $stored"
  exit 0
fi
if ! diff -u "$stored" "$work/digests"; then
  echo "The example's output changed (lines above: - stored, + now). If the change is intended, run"
  echo "  tests/styles/example_digest.sh <build>/quillet --update"
  exit 1
fi
echo "$(wc -l < "$stored") output files as stored"
