#!/usr/bin/env bash
# Makes what players download: build/dist/wayfarer-<version>-windows-x64.zip,
# holding one folder wayfarer-<version>/ with wayfarer.exe built for release,
# README.html (the player's guide), LICENSE.txt and CHANGELOG.txt, and
# build/dist/SHA256SUMS beside it. The zip is the same, byte for byte, for the
# same commit in any clone: its times are the commit's. Before it is handed
# out, the zip is unpacked into an empty folder and its program started there
# under Wine on a private Xvfb (scripts/check-package); the script fails
# loudly if that does not go as it does for a new player.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
root=$(pwd)
dist=$root/build/dist
log=$root/build/package-logs

step() { printf '== %s\n' "$*" >&2; }
fail() { echo "package.sh: $*" >&2; exit 1; }

step "checking packages"
grep -v '^#' scripts/packages.txt | xargs scripts/ensure-packages
scripts/check-packages

version=$(sed -nE 's/^project\(Wayfarer VERSION ([0-9]+\.[0-9]+\.[0-9]+).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "CMakeLists.txt names no version in project(Wayfarer VERSION ...)"
changelog=$(sed -nE 's/^## \[([^]]+)\].*/\1/p' CHANGELOG.md | head -n 1)
[ "$changelog" = "$version" ] ||
  fail "CHANGELOG.md's newest entry is \"$changelog\", but the version is $version: add its entry first"
# Every time stamp in the package is the commit's.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) || fail "not a git checkout: the package's times come from the commit"
export SOURCE_DATE_EPOCH
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "package.sh: note: there are uncommitted changes; the package holds them, with the last commit's times" >&2
fi

step "building wayfarer.exe $version for release"
# Linked anew every time: the link stamps the commit's time, which an
# executable left from an earlier commit would not carry.
rm -f build/release/src/app/wayfarer.exe
scripts/build-targets release "$log" wayfarer window-control

name=wayfarer-$version
zip=$name-windows-x64.zip
step "packing $zip"
rm -rf "$dist"
stage=$dist/stage
mkdir -p "$stage/$name"
cp build/release/src/app/wayfarer.exe "$stage/$name/wayfarer.exe"
scripts/readme-html README.md "$version" >"$stage/$name/README.html"
# Windows line ends, for the editors that know no others.
sed 's/$/\r/' LICENSE >"$stage/$name/LICENSE.txt"
sed 's/$/\r/' CHANGELOG.md >"$stage/$name/CHANGELOG.txt"
scripts/package-zip "$stage" "$name" "$dist/$zip" "$SOURCE_DATE_EPOCH"
rm -rf "$stage"
(cd "$dist" && sha256sum "$zip" >SHA256SUMS)

step "checking the package under Wine"
read -r display xvfb_pid < <(scripts/start-xvfb)
cleanup() {
  WINEPREFIX=$root/build/wineprefix wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
DISPLAY=$display scripts/check-package "$dist/$zip" "$root/build/package-check" \
  build/release/tools/window-control/window-control.exe || fail "the package failed its check; it is not fit to hand out"
rm -rf "$root/build/package-check"

echo "$dist/$zip"
cat "$dist/SHA256SUMS"
