#!/bin/sh
# libdvdread built from the Debian source of the installed version, with the
# fuzz targets' coverage instrumentation and AddressSanitizer, so that
# disc_fuzz's coverage goes on inside the library (the system's library is
# not instrumented: coverage would stop at its border). Installed into DIR
# (its lib/ goes first in LD_LIBRARY_PATH when the targets run); nothing is
# done when DIR/lib holds it already. The source is fetched through a private
# copy of the system's apt sources with deb-src entries, so the system's apt
# configuration is left as it is. Exits non-zero when the source cannot be
# fetched or built: the targets then load the system's library.
# Usage: scripts/fuzz_dvdread.sh DIR
set -eu
out=$(realpath -m "$1")
soname=$(dpkg-query -L libdvdread8 | grep -o 'libdvdread\.so\.[0-9]*$' | head -n 1)
[ -e "$out/lib/$soname" ] && exit 0
version=$(dpkg-query -W -f='${Version}' libdvdread8)
work="$out/source"
rm -rf "$work"
mkdir -p "$work/parts" "$work/lists/partial" "$work/cache/archives/partial"
for f in /etc/apt/sources.list.d/*.sources; do
  [ -e "$f" ] && sed 's/^Types:.*/Types: deb-src/' "$f" > "$work/parts/$(basename "$f")"
done
if [ -e /etc/apt/sources.list ]; then
  sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > "$work/parts/main.list"
fi
apt="-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=$work/parts -o Dir::State::Lists=$work/lists
  -o Dir::Cache=$work/cache"
# shellcheck disable=SC2086
apt-get -q $apt update >/dev/null
cd "$work"
# shellcheck disable=SC2086
apt-get -q $apt source --download-only "libdvdread=$version" >/dev/null 2>&1
dpkg-source -x --no-check libdvdread_*.dsc tree >/dev/null
cd tree
# Coverage and AddressSanitizer only: the library's own undefined behaviour
# (it shifts ints past their width for title sets above 31) is not ours to stop on.
CC=clang CFLAGS="-g -O1 -fsanitize=fuzzer-no-link,address" \
  ./configure --prefix="$out" --disable-static --disable-apidoc >/dev/null
make -j1 >/dev/null
make install >/dev/null
echo "libdvdread $version instrumented in $out/lib"
