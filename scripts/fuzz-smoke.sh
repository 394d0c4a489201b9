#!/usr/bin/env bash
# Builds the libFuzzer targets with the "fuzz" preset and runs each for a
# bounded time from its seed corpus. Fails when any target finds a crash, a
# leak, a timeout or a broken property. FUZZ_SECONDS sets the time per target.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
seconds=${FUZZ_SECONDS:-20}
targets=(linefile settings menulist strtointdef busname variant)

bash scripts/install-deps.sh
cmake --preset fuzz
cmake --build --preset fuzz --target fuzz_all -j "$(nproc)"

# Scratch space for the working corpora and the files the targets write:
# memory-backed when there is such a place, since some targets write a file
# per input.
scratch_parent=/tmp
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  scratch_parent=/dev/shm
fi
scratch=$(mktemp -d "$scratch_parent/orvane-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
artifacts="$here/build/fuzz/artifacts"
mkdir -p "$artifacts"

failed=()
for name in "${targets[@]}"; do
  target="fuzz_$name"
  corpus="$scratch/corpus/$name"
  mkdir -p "$corpus" "$scratch/tmp/$name"
  if [ -d "fuzz/corpus/$name" ]; then
    cp -R "fuzz/corpus/$name/." "$corpus/"
  fi
  log="$scratch/$target.log"
  echo "fuzz-smoke: $target for ${seconds}s"
  status=0
  TMPDIR="$scratch/tmp/$name" "build/fuzz/fuzz/$target" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/$target-" "$corpus" >"$log" 2>&1 || status=$?
  grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" \
    | sed 's/^/  /' || true
  echo "  corpus: $(find "$corpus" -type f | wc -l) files"
  if [ "$status" -ne 0 ]; then
    echo "fuzz-smoke: $target FAILED (exit $status); input kept under $artifacts"
    tail -n 40 "$log" | sed 's/^/  /'
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz-smoke: failures in: ${failed[*]}"
  exit 1
fi
echo "fuzz-smoke: all ${#targets[@]} targets ran ${seconds}s each without a finding."
