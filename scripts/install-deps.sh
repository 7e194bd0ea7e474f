#!/bin/sh
# Installs the Debian packages the build and the tests need. Idempotent:
# packages already present are left alone and apt is not touched at all.
# Usage: scripts/install-deps.sh [build|media|package|fuzz|all]
#   build (default): compilers, CMake, Qt 6 with its translation tools,
#                    GoogleTest, Google Benchmark, JSON, libdvdread, fonts, the
#                    tools the test suite calls (validators of the desktop
#                    files, groff, python3-jsonschema).
#   media:           additionally ffmpeg, dvdauthor, genisoimage, faketime and
#                    the peers used by the fixture scripts and the comparison
#                    benchmarks.
#   package:         additionally what `make package` needs (dpkg-shlibdeps).
#   fuzz:            additionally what `make fuzz` needs to build libdvdread
#                    from its Debian source (dpkg-source).
set -eu

set_name=${1:-build}

build_pkgs="build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-tools-dev qt6-l10n-tools
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  nlohmann-json3-dev libdvdread-dev
  fonts-noto-cjk
  clang libclang-rt-14-dev
  strace xvfb xauth
  python3 python3-jsonschema
  desktop-file-utils appstream groff-base"
media_pkgs="ffmpeg dvdauthor genisoimage lsdvd mediainfo hyperfine imagemagick faketime"
package_pkgs="dpkg-dev file"
fuzz_pkgs="dpkg-dev make"

case "$set_name" in
  build) pkgs=$build_pkgs ;;
  media) pkgs="$build_pkgs $media_pkgs" ;;
  package) pkgs="$build_pkgs $package_pkgs" ;;
  fuzz) pkgs="$build_pkgs $fuzz_pkgs" ;;
  all)   pkgs="$build_pkgs $media_pkgs $package_pkgs $fuzz_pkgs" ;;
  *) echo "usage: $0 [build|media|package|fuzz|all]" >&2; exit 64 ;;
esac

missing=""
for p in $pkgs; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installing:$missing"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
