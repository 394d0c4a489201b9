#!/usr/bin/env bash
# The Windows installer under Wine, in the prefix that WINEPREFIX names: a
# silent install into a scratch folder puts the program, the samples, the
# Start-menu shortcut and the uninstall key in place; a reinstall keeps the
# user's edited lists and Orvane.ini; a silent uninstall removes the program,
# its uninstaller, the shortcut and the key and leaves those files.
# Usage: installer_test.sh <setup.exe>
set -euo pipefail
installer=$1
root=$(cd "$(dirname "$0")/../../.." && pwd)
samples=$root/samples
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane'

work=$(mktemp -d /tmp/orvane-install.XXXXXX)
# A failed run leaves no key or shortcut behind for the next one.
finish() {
  wine reg delete "$key" /f >/dev/null 2>&1 || true
  [ -z "${shortcut:-}" ] || rm -f "$shortcut"
  rm -rf "$work"
}
trap finish EXIT
dir=$work/Orvane
saved=$work/saved
mkdir "$saved"
win_dir=$(winepath -w "$dir")

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Polls the command until it succeeds, for at most a minute.
wait_until() {
  local what=$1
  shift
  local deadline=$((SECONDS + 60))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "$what after 60 s"
    sleep 0.1
  done
}

# The values of a registry key as "reg query" lists them, one a line;
# nothing when the key is missing or Wine failed to start reg. One Wine
# start for all of them.
reg_values() {
  local out
  out=$(wine reg query "$1" 2>/dev/null) || return 0
  tr -d '\r' <<<"$out"
}

# One value out of such a list.
value_of() {
  sed -n "s/^    $2    REG_[A-Z_]*    //p" <<<"$1"
}

# Through the wrapper that retries a Wine start that failed without a word.
wine_run() {
  sh "$root/cmake/wine-run.sh" "$@"
}

install() {
  wine_run "$installer" /S "/D=$win_dir" || fail "the installer exited with $?"
}

install
[ -f "$dir/Orvane.exe" ] || fail "no Orvane.exe in the install folder"
[ -f "$dir/Uninstall.exe" ] || fail "no uninstaller in the install folder"
for sample in "$samples"/*; do
  cmp -s "$sample" "$dir/$(basename "$sample")" || fail "sample $(basename "$sample") not installed as it is"
done

# Asked again while the prefix's first start may still be under way, or a
# Wine start failed without a word.
programs_known() {
  programs=$(value_of "$(reg_values 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders')" Programs)
  [ -n "$programs" ]
}
wait_until "no Start-menu programs folder in the prefix" programs_known
shortcut="$(winepath -u "$programs")/Orvane.lnk"
[ -f "$shortcut" ] || fail "no Start-menu shortcut at $shortcut"

values_known() {
  values=$(reg_values "$key")
  [ -n "$values" ]
}
wait_until "no uninstall key" values_known
expect_value() {
  local actual
  actual=$(value_of "$values" "$1")
  [ "$actual" = "$2" ] || fail "$1 is '$actual', not '$2'"
}
expect_value DisplayName Orvane
expect_value Publisher Orvane
expect_value DisplayIcon "$win_dir\\Orvane.exe"
expect_value InstallLocation "$win_dir"
expect_value UninstallString "\"$win_dir\\Uninstall.exe\""
expect_value QuietUninstallString "\"$win_dir\\Uninstall.exe\" /S"
expect_value NoModify 0x1
expect_value NoRepair 0x1
[ -n "$(value_of "$values" DisplayVersion)" ] || fail "no DisplayVersion"

# The user's own files, then a reinstall over them.
printf 'Mine\r\n' >>"$dir/OrvaneList.txt"
printf 'MyCAD.Application\r\n' >"$dir/TargetCAD_APIVersion.txt"
printf '[Panel]\r\nX=10\r\n' >"$dir/Orvane.ini"
cp "$dir/OrvaneList.txt" "$dir/TargetCAD_APIVersion.txt" "$dir/Orvane.ini" "$saved"
rm "$dir/DrawList.txt"
install
for kept in OrvaneList.txt TargetCAD_APIVersion.txt Orvane.ini; do
  cmp -s "$saved/$kept" "$dir/$kept" || fail "the reinstall changed the user's $kept"
done
cmp -s "$samples/DrawList.txt" "$dir/DrawList.txt" || fail "the reinstall did not put back the missing DrawList.txt"

# The uninstaller returns at once and goes on from a copy of itself; it
# removes the key last. reg says so for a missing key; a failed Wine start
# says nothing.
wine_run "$dir/Uninstall.exe" /S || fail "the uninstaller exited with $?"
key_gone() {
  local out
  ! out=$(wine reg query "$key" 2>&1) && [ -n "$out" ]
}
wait_until "the uninstall key is still there" key_gone
[ ! -e "$dir/Orvane.exe" ] || fail "the uninstall left Orvane.exe"
[ ! -e "$dir/Uninstall.exe" ] || fail "the uninstall left the uninstaller"
[ ! -e "$shortcut" ] || fail "the uninstall left the Start-menu shortcut"
for kept in OrvaneList.txt TargetCAD_APIVersion.txt Orvane.ini; do
  cmp -s "$saved/$kept" "$dir/$kept" || fail "the uninstall removed or changed the user's $kept"
done
echo "installer: install, reinstall and uninstall behave."
