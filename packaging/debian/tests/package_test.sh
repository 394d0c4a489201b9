#!/usr/bin/env bash
# The Debian package on this machine, as root: it installs with apt-get and
# puts its files in place; the launcher, run twice as an unprivileged user
# on a virtual display, makes that user's program folder with the sample
# lists and the panel runs from it (launcher_runs.sh); the package then removes
# without leaving a file of its own, and the user's folder stays.
# Usage: package_test.sh <orvane_*.deb>
set -euo pipefail
deb=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
nobody=65534

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

[ "$(id -u)" -eq 0 ] || fail "installing a package needs root"
if dpkg-query -W -f='${Status}' orvane 2>/dev/null | grep -q "install ok installed"; then
  fail "orvane is installed already, and the test would remove it"
fi

work=$(mktemp -d /tmp/orvane-deb.XXXXXX)
chmod 755 "$work"
installed=false
# A failed run leaves the package removed all the same.
finish() {
  if $installed; then
    apt-get remove -y -q orvane >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap finish EXIT

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -q "$deb" >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; fail "apt-get install"; }
installed=true

# What the package brings, and where.
[ -x /usr/bin/orvane ] || fail "no launcher /usr/bin/orvane"
[ -x /usr/lib/orvane/Orvane ] || fail "no executable /usr/lib/orvane/Orvane"
for sample in "$root"/samples/*; do
  cmp -s "$sample" "/usr/share/orvane/samples/$(basename "$sample")" || fail "sample $(basename "$sample") not installed as it is"
done
grep -qx "Exec=orvane" /usr/share/applications/orvane.desktop || fail "the desktop entry does not run the launcher"
[ -f /usr/share/icons/hicolor/48x48/apps/orvane.png ] || fail "no 48x48 icon in the hicolor theme"
[ -f /usr/share/doc/orvane/automation-protocol.md ] || fail "no protocol document"
depends=$(dpkg-query -W -f='${Depends}' orvane)
for library in libqt6widgets6 libqt6dbus6 libicu libx11-6 libxtst6 qt6-qpa-plugins; do
  grep -q "$library" <<<"$depends" || fail "no dependency on $library: $depends"
done
files=$(dpkg-query -L orvane)

# The user's part, as nobody with a home of its own.
home=$work/home
scratch=$work/scratch
mkdir -m 700 "$home" "$scratch" "$work/runtime"
cp "$root/tests/integration/windowmanager.sh" "$here/launcher_runs.sh" "$scratch/"
chown -R "$nobody:$nobody" "$home" "$scratch" "$work/runtime"
setpriv --reuid=$nobody --regid=$nobody --clear-groups \
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8 \
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" dbus-run-session -- \
  sh "$scratch/launcher_runs.sh" /usr/share/orvane/samples "$scratch" ||
  fail "the launcher as an unprivileged user"

apt-get remove -y -q orvane >"$work/remove.log" 2>&1 || { cat "$work/remove.log" >&2; fail "apt-get remove"; }
installed=false
while IFS= read -r path; do
  if [ -e "$path" ] && [ ! -d "$path" ]; then
    fail "$path is left after the removal"
  fi
done <<<"$files"
for dir in /usr/lib/orvane /usr/share/orvane /usr/share/doc/orvane; do
  [ ! -e "$dir" ] || fail "$dir is left after the removal"
done
[ -f "$home/.local/share/orvane/Orvane.ini" ] || fail "the removal took the user's folder"
echo "package_test: passed"
