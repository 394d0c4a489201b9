#!/usr/bin/env bash
# clang-tidy with the project's checks over the given sources (default: all
# of them). With "windows" first, over the Windows build's sources, parsed
# as mingw-w64 code; the build folder of that preset must be configured.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

build=build/default
extra=()
if [ "${1:-}" = windows ]; then
  shift
  build=build/windows
  gcc=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix | head -n 1)
  # clang finds the mingw C headers by the target, but not GCC's C++ ones.
  for flag in --target=x86_64-w64-mingw32 -nostdinc++ -D_GLIBCXX_HAS_GTHREADS \
      "-isystem$gcc/include/c++" "-isystem$gcc/include/c++/x86_64-w64-mingw32" \
      "-isystem$gcc/include/c++/backward"; do
    extra+=("--extra-arg=$flag")
  done
fi

files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  mapfile -t files < <(python3 -c '
import json, sys, os
root = sys.argv[1]
for entry in json.load(open(sys.argv[2])):
    path = os.path.relpath(entry["file"], root)
    if not path.startswith(("build", "/usr", "..")):
        print(path)' "$here" "$build/compile_commands.json" | sort -u)
fi
clang-tidy -p "$build" --quiet "${extra[@]}" "${files[@]}"
