#!/usr/bin/env bash
# Installs the Debian 12 packages that Orvane needs to build, run and test;
# with "windows", those of the Windows cross build and its tests under Wine.
# Only what is missing is installed; run it as often as you like.
set -euo pipefail

if [ "${1:-}" = windows ]; then
  packages=(
    # the cross toolchain, and GoogleTest's sources to build for Windows
    cmake ninja-build g++-mingw-w64-x86-64 googletest
    # Wine, and a display with a window manager for the windows it shows
    wine64 wine xvfb xauth openbox x11-utils
    # driving the program: xdotool, and xwd to read the lamp's pixels
    xdotool x11-apps
    # a font with Japanese glyphs
    fonts-ipafont-gothic
    # the installer builder
    nsis
  )
else
packages=(
  # toolchain
  g++ cmake ninja-build pkg-config make
  # Qt 6 (Widgets, DBus, Test, moc) and its platform plugins
  qt6-base-dev qt6-qpa-plugins
  # X11: Xlib, XTest, a virtual display, a window manager, tools
  libx11-dev libxtst-dev xvfb xauth openbox x11-utils xdotool
  # Wayland: a headless compositor with XWayland, and Qt's Wayland platform
  weston xwayland qt6-wayland
  # session bus
  dbus dbus-x11
  # the accessibility bus, through which the whole-program tests read message boxes
  at-spi2-core
  # collation
  libicu-dev
  # a font with Japanese glyphs for the windows
  fonts-ipafont-gothic
  # tests
  googletest libgtest-dev libgmock-dev
  # input-method tests
  fcitx5
  # fuzzing and static checks
  clang libclang-rt-14-dev clang-tidy
  # the Debian package: dpkg-shlibdeps and file(1), which CPack's DEB generator runs
  dpkg-dev file
  # the FreeCAD bridge's unit tests: the distribution's Python, which FreeCAD embeds
  python3
)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages are present."
  exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
echo "install-deps: installing ${#missing[@]} missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
echo "install-deps: done."
