#!/usr/bin/env bash
# Installs the Debian packages Tarnwell needs to build, run and test, when missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  unixodbc unixodbc-dev libsqliteodbc odbc-postgresql postgresql sqlite3
  libwxgtk3.2-dev libgtest-dev nlohmann-json3-dev libsqlite3-dev
  xvfb xauth xdotool imagemagick
  dbus-bin dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0   # the screen reader test of the Options sheet
  fonts-wqy-zenhei   # draws CJK names in the demo's tables (alignment does not depend on it)
  clang libclang-rt-14-dev   # libFuzzer for scripts/fuzz.sh
  dpkg-dev fakeroot file lintian desktop-file-utils appstream   # scripts/package.sh and its checks
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
