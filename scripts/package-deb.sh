#!/usr/bin/env bash
# Installs what is missing, builds the panel optimised ("release" preset) and
# writes its Debian package to build/release/packages/. With "test", it then
# installs the package, runs the launcher as an unprivileged user and removes
# the package again (as root: packaging/debian/tests/package_test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j "$(nproc)" --target deb
deb=$(ls -t build/release/packages/orvane_*.deb | head -n 1)
ls -l "$deb"
if [ "${1:-}" = test ]; then
  bash packaging/debian/tests/package_test.sh "$deb"
fi
