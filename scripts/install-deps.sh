#!/bin/sh
# Installs the Debian packages Quillet needs to build and test, skipping those already present.
# Extra package names given as arguments are installed too.
set -eu
packages="cmake ninja-build g++ make libgtest-dev libgmock-dev libgd-dev libmd4c-dev qt6-base-dev libtomlplusplus-dev nlohmann-json3-dev $*"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq || true
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing
