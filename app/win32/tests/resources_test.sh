#!/usr/bin/env bash
# Orvane.exe carries the program's icon (every PNG size in one group), its
# version and its manifest.
# Usage: resources_test.sh <Orvane.exe> <windres> <icon folder> <version>
set -euo pipefail
exe=$1
windres=$2
icons=$3
version=$4

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

dump=$("$windres" -i "$exe" -O rc)
pngs=$(find "$icons" -name '*.png' | wc -l)

images=$(grep -c ' 3 /\* RT_ICON \*/' <<<"$dump" || true)
[ "$images" -eq "$pngs" ] || fail "$images icon images, not $pngs"
grep -q "Has $pngs elements" <<<"$dump" || fail "no icon group of $pngs images"

for value in '"OriginalFilename", "Orvane.exe"' '"ProductName", "Orvane"' \
    "\"FileVersion\", \"$version\"" "\"ProductVersion\", \"$version\""; do
  grep -qF "VALUE $value" <<<"$dump" || fail "no version value $value"
done

grep -q ' 24 /\* RT_MANIFEST \*/' <<<"$dump" || fail "no manifest"
for line in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' '>PerMonitorV2' '>true/pm<' \
    'level="asInvoker"' 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"'; do
  grep -aqF "$line" "$exe" || fail "the manifest lacks $line"
done
echo "resources: icon of $pngs images, version $version, manifest."
