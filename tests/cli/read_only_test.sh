#!/bin/sh
# tonvika-cli opens nothing for writing and leaves its inputs as they were.
# Usage: read_only_test.sh CLI SOURCE...   (exit 77 = skipped)
set -eu
cli=$1; shift
command -v strace >/dev/null 2>&1 || { echo "strace not installed"; exit 77; }
trace=$(mktemp)
before=$(mktemp)
after=$(mktemp)
trap 'rm -f "$trace" "$before" "$after"' EXIT

snapshot() { for f in "$@"; do [ -f "$f" ] || continue; sha256sum "$f"; stat -c '%n %Y.%y %s' "$f"; done; }
# The IFO files beside the inputs are read too; of a disc's folder, all its files.
inputs="$*"
for f in "$@"; do
  if [ -d "$f" ]; then inputs="$inputs $(find "$f" -type f)"; continue; fi
  for g in "$(dirname "$f")"/*; do [ -f "$g" ] && inputs="$inputs $g"; done
done
snapshot $inputs > "$before"

if ! strace -f -qq -o "$trace" -e trace=openat,open,creat,truncate,ftruncate,rename,renameat,renameat2,unlink,unlinkat,mkdir,mkdirat \
    "$cli" --details "$@" > /dev/null; then
  status=$?
  [ "$status" -le 2 ] || { echo "tonvika-cli failed with status $status"; exit 1; }
fi
if ! grep -q openat "$trace"; then echo "strace recorded nothing (ptrace not permitted?)"; exit 77; fi

fail=0
if grep -E 'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND' "$trace"; then echo "FAIL: opened for writing"; fail=1; fi
if grep -E '^[0-9]+ +(creat|truncate|ftruncate|rename|renameat2?|unlink|unlinkat|mkdir|mkdirat)\(' "$trace"; then
  echo "FAIL: changed the file system"; fail=1
fi
for f in "$@"; do
  grep -q "\"$f\"" "$trace" || { echo "FAIL: $f was not opened at all"; fail=1; }
done
snapshot $inputs > "$after"
if ! cmp -s "$before" "$after"; then echo "FAIL: input files changed"; diff "$before" "$after"; fail=1; fi
[ "$fail" -eq 0 ] && echo "read-only: $(grep -c openat "$trace") opens, none for writing; inputs unchanged"
exit "$fail"
