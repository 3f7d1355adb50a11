#!/usr/bin/env bash
# Builds the Debian package build/tarnwell_VERSION_ARCH.deb with CPack (or in
# the build folder given as $1) and checks it as a packager would: lintian,
# desktop-file-validate and appstreamcli validate. Fails on any error or
# warning they report, and when the version named in CMakeLists.txt has no
# release notes, changelog entry or manual pages of its own.
#
# Only the programs, icons and manual pages are built, not the tests. A build
# folder configured with sanitizers or for fuzzing is refused.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${1:-build}
say() { echo "package.sh: $*" >&2; }
fail() {
  say "$*"
  exit 1
}

scripts/install-deps.sh
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if grep -Eq '^TARNWELL_(SANITIZE|FUZZ):BOOL=ON$' "$dir/CMakeCache.txt"; then
  fail "$dir is a sanitizer or fuzzing build; package a plain one (scripts/package.sh build)"
fi
cmake --build "$dir" -j"$(nproc)" --target tarnwell_package_files

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$dir/CPackConfig.cmake")
[ -n "$version" ] || fail "no version in $dir/CPackConfig.cmake"

# Everything that names the version names this one.
grep -q "<release version=\"$version\"" packaging/tarnwell.metainfo.xml.in ||
  fail "packaging/tarnwell.metainfo.xml.in has no release notes for $version"
head -n 1 packaging/changelog | grep -q "^tarnwell ($version) " ||
  fail "packaging/changelog does not start with an entry for $version"
for page in docs/tarnwell.1 docs/tarnwell-run.1; do
  grep -q "^\.TH .* \"Tarnwell $version\"" "$page" || fail "$page is not the page of version $version"
done

deb=$dir/tarnwell_${version}_$(dpkg --print-architecture).deb
rm -f "$deb"
log=$(cd "$dir" && cpack -G DEB 2>&1) || {
  echo "$log" >&2
  fail "cpack failed"
}
[ -f "$deb" ] || fail "cpack did not write $deb"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp"

# Each check prints what it found only when it fails.
status=0
check() {
  local out
  if ! out=$("$@" 2>&1); then
    echo "$out" >&2
    status=1
  fi
}
# desktop-file-validate exits 0 on warnings: any line but a hint fails.
validate_desktop_entry() {
  local out
  out=$(desktop-file-validate "$1" 2>&1) || { echo "$out"; return 1; }
  ! grep -v ': hint: ' <<<"$out" | grep . || { echo "$out"; return 1; }
}
for entry in "$tmp"/usr/share/applications/*.desktop; do
  check validate_desktop_entry "$entry"
done
# The AppStream metadata with the desktop entry it launches and the icons;
# fails on errors and warnings.
check appstreamcli validate-tree --no-net "$tmp"
check lintian --fail-on error,warning "$deb"
[ $status = 0 ] || fail "$deb has faults (above)"
say "built and checked $deb"
echo "$deb"
