#!/bin/sh
# Installs the Debian packages the build needs (and any named as arguments),
# only when something is missing.
set -e
packages="build-essential cmake libgtest-dev libgmock-dev qt6-base-dev qt6-svg-dev libpng-dev $*"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
