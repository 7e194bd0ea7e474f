#!/bin/sh
# The desktop entry, the AppStream metainfo and the package's change log:
#   desktop_files_test.sh DESKTOP_FILE METAINFO_FILE VERSION CHANGELOG
# the first two pass their validators and name the same application id and
# MIME types; the metainfo's newest release and the change log's newest entry
# are both VERSION. A validator that is not installed is skipped with a
# message; exit 77 when neither is.
set -eu
desktop=$1
metainfo=$2
version=$3
changelog=$4
status=0
validated=0

if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$desktop" || status=1
  validated=1
else
  echo "desktop-file-validate is not installed (desktop-file-utils): $desktop is not validated"
fi
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate --no-net "$metainfo" || status=1
  validated=1
else
  echo "appstreamcli is not installed (appstream): $metainfo is not validated"
fi

id=$(basename "$desktop" .desktop)
grep -q "<id>$id</id>" "$metainfo" || { echo "$metainfo: id is not $id"; status=1; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  { echo "$metainfo: launchable is not $id.desktop"; status=1; }
grep -qx "Icon=$id" "$desktop" || { echo "$desktop: Icon is not $id"; status=1; }

desktop_types=$(sed -n 's/^MimeType=//p' "$desktop" | tr ';' '\n' | grep . | sort)
metainfo_types=$(sed -n 's/.*<mediatype>\(.*\)<\/mediatype>.*/\1/p' "$metainfo" | sort)
if [ -z "$desktop_types" ] || [ "$desktop_types" != "$metainfo_types" ]; then
  echo "MIME types differ: $desktop has" $desktop_types "and $metainfo has" $metainfo_types
  status=1
fi

newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
[ "$newest" = "$version" ] || { echo "$metainfo: newest release is $newest, not $version"; status=1; }
entry=$(sed -n '1s/^tonvika (\([^)]*\)).*/\1/p' "$changelog")
[ "$entry" = "$version" ] || { echo "$changelog: newest entry is '$entry', not $version"; status=1; }

[ "$status" -eq 0 ] && [ "$validated" -eq 0 ] && exit 77
exit "$status"
