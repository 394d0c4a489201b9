#!/usr/bin/env bash
# Installs the FreeCAD bridge for the user who runs it: the distribution's
# D-Bus and GLib bindings for Python (through apt, as root or with sudo),
# then the module folder into FreeCAD's folder of user modules, which FreeCAD
# reads at its next start. FreeCAD itself is not installed here (about
# 1.2 GB): "apt-get install freecad" does that.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
target=$HOME/.local/share/FreeCAD/Mod/OrvaneBridge

missing=()
for package in python3-dbus python3-gi; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

rm -rf "$target"
mkdir -p "$target"
cp "$here"/bridges/freecad/OrvaneBridge/*.py "$target"/
echo "installed into $target"
command -v freecad >/dev/null || echo "FreeCAD is not installed: apt-get install freecad"
