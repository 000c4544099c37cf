#!/usr/bin/env bash
# Builds the libFuzzer targets (`fuzz` preset: clang++, library objects and
# targets under ASan + UBSan) and runs each for a bounded time from its seed
# corpus and its kept regression inputs. Any finding (a violated property, a
# sanitizer report, a crash, a timeout) fails the step and leaves the input
# in build/fuzz/findings/<target>/.
# Needs: clang, libclang-rt-14-dev (libFuzzer and sanitizer runtimes), cmake,
# ninja-build, libgtest-dev (the tests tree is configured).
# FUZZ_SECONDS sets the time per target (default 25: six targets fit in the
# step's five-minute budget on two cores with the build).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-25}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

targets=$(sed -n 's/^set(KELVOR_FUZZ_TARGETS \(.*\))$/\1/p' tests/fuzz/CMakeLists.txt)
status=0
for t in $targets; do
  work=build/fuzz/corpus-work/$t
  findings=build/fuzz/findings/$t
  mkdir -p "$work" "$findings"
  inputs=(tests/fuzz/corpus/$t)
  [ -d tests/fuzz/regressions/$t ] && inputs+=(tests/fuzz/regressions/$t)
  # New inputs go to a scratch corpus, never into the committed seeds.
  if build/fuzz/tests/fuzz/kelvor_fuzz_$t "$work" "${inputs[@]}" \
      -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=4096 \
      -artifact_prefix="$findings/" -print_final_stats=1 >build/fuzz/$t.log 2>&1; then
    echo "fuzz $t: $(grep -o 'stat::number_of_executed_units: *[0-9]*' build/fuzz/$t.log | grep -o '[0-9]*$') executions, no finding"
  else
    echo "fuzz $t: FINDING (see build/fuzz/$t.log and $findings)"
    grep -E 'PROPERTY VIOLATED|context:|runtime error|ERROR: (AddressSanitizer|libFuzzer)' \
      build/fuzz/$t.log | head -20 || true
    status=1
  fi
done
exit $status
