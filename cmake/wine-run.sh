#!/bin/sh
# Runs a Windows program under Wine for ctest. Now and then Wine fails to
# start a program at all and leaves no output; such a start is tried once
# more, and any run that printed something counts as it is. The output is
# passed on as it comes, so a run that ctest stops shows how far it got.
out=$(mktemp)
run() {
  { wine "$@" 2>&1; echo $? >"$out.rc"; } | tee "$out"
  return "$(cat "$out.rc")"
}
run "$@"
rc=$?
if [ "$rc" -ne 0 ] && [ ! -s "$out" ]; then
  run "$@"
  rc=$?
fi
rm -f "$out" "$out.rc"
exit "$rc"
