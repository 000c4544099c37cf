#!/usr/bin/env bash
# The long fuzz run: every target (or those named) to RUNS executions
# (default 10 million) from its seed corpus, one after the other, with a
# time cap per target (CAP_SECONDS, default 7200). Prints the executions each target
# reached and any finding; a finding's input is left in
# build/fuzz/findings/<target>/ and should become a named regression case
# (tests/fuzz/regressions/<target>/<name> plus a line in its README).
# Build first: cmake --preset fuzz && cmake --build --preset fuzz
set -uo pipefail
cd "$(dirname "$0")/../.."
runs=${RUNS:-10000000}
cap=${CAP_SECONDS:-7200}
targets=${*:-$(sed -n 's/^set(KELVOR_FUZZ_TARGETS \(.*\))$/\1/p' tests/fuzz/CMakeLists.txt)}
status=0
for t in $targets; do
  work=build/fuzz/long-corpus/$t
  findings=build/fuzz/findings/$t
  mkdir -p "$work" "$findings"
  inputs=(tests/fuzz/corpus/$t)
  [ -d tests/fuzz/regressions/$t ] && inputs+=(tests/fuzz/regressions/$t)
  start=$(date +%s)
  build/fuzz/tests/fuzz/kelvor_fuzz_$t "$work" "${inputs[@]}" -runs="$runs" \
    -max_total_time="$cap" -timeout=60 -rss_limit_mb=4096 -max_len=4096 \
    -artifact_prefix="$findings/" -print_final_stats=1 >build/fuzz/long-$t.log 2>&1
  rc=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' build/fuzz/long-$t.log | grep -o '[0-9]*$')
  printf '%-10s %12s executions in %6ss  %s\n' "$t" "${execs:-?}" $(( $(date +%s) - start )) \
    "$([ $rc -eq 0 ] && echo 'no finding' || echo "FINDING, see build/fuzz/long-$t.log")"
  [ $rc -eq 0 ] || status=1
done
exit $status
