#!/usr/bin/env bash
# Installs what is missing, cross-builds Orvane.exe optimised ("windows-release"
# preset) and writes the Windows packages to build/windows-release/packages/:
# a portable zip (the folder Orvane/ with Orvane.exe and the samples) and a
# per-user installer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh windows
cmake --preset windows-release
cmake --build --preset windows-release -j "$(nproc)" --target packages
ls -l build/windows-release/packages/
