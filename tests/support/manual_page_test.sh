#!/bin/sh
# Checks a program's manual page against the program:
#   manual_page_test.sh PROGRAM PAGE [COMPLETION]
# - the page renders with groff's man macros without a single warning;
# - every long option PROGRAM --help lists is an item of the page's OPTIONS
#   and the other way round, and the short options of the help are there too;
# - the page's version is the one PROGRAM --version prints;
# - a bash completion, when given, offers the same long options.
# Exit 77 (skipped) when groff is not installed.
set -eu
program=$1
page=$2
completion=${3:-}
status=0

if ! command -v groff >/dev/null 2>&1; then
  echo "groff is not installed: the manual page is not checked (scripts/install-deps.sh installs it)"
  exit 77
fi

warnings=$(groff -man -ww -z "$page" 2>&1) || { echo "groff failed on $page"; status=1; }
if [ -n "$warnings" ]; then
  echo "groff warns about $page:"
  echo "$warnings"
  status=1
fi

help=$("$program" --help)
# Options the help lists: the words starting with '-' at the head of its
# indented lines ("  -h, --help  ...", "  --lang ja|en  ...").
help_options=$(printf '%s\n' "$help" | sed -n 's/^ \{1,\}\(-[-a-z, ]*\).*/\1/p' |
  tr ', ' '\n\n' | grep -E '^--?[a-z]' | sort -u)
# Options the page lists: the item lines of .TP paragraphs under OPTIONS.
page_options=$(awk '
  /^\.SH/ { in_options = ($2 == "OPTIONS") ; next }
  in_options && /^\.TP/ { item = 1; next }
  in_options && item { print; item = 0 }' "$page" |
  sed 's/\\-/-/g; s/"[^"]*"//g' | tr ' ,' '\n\n' | grep -E '^--?[a-z]' | sort -u)

compare() {  # compare WHAT_A LIST_A WHAT_B LIST_B
  missing=$(printf '%s\n' "$2" | grep -vxF -f /dev/fd/3 3<<EOF2 || true
$4
EOF2
)
  if [ -n "$missing" ]; then
    echo "in $1 but not in $3:" $missing
    status=1
  fi
}

help_long=$(printf '%s\n' "$help_options" | grep -- '^--' || true)
page_long=$(printf '%s\n' "$page_options" | grep -- '^--' | grep -vx -- '--' || true)
compare "$program --help" "$help_options" "$page" "$page_options"
compare "$page" "$page_long" "$program --help" "$help_long"

version=$("$program" --version | awk '{ print $NF }')
if ! grep -q "^\.TH .*\"Tonvika $version\"" "$page"; then
  echo "$page does not give the version $version in its .TH line"
  status=1
fi

if [ -n "$completion" ]; then
  completion_long=$(sed -n 's/^ *local options="\(.*\)"/\1/p' "$completion" | tr ' ' '\n' | sort -u)
  compare "$program --help" "$help_long" "$completion" "$completion_long"
  compare "$completion" "$completion_long" "$program --help" "$help_long"
fi

[ "$status" -eq 0 ] && echo "$page matches $program"
exit "$status"
