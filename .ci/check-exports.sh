#!/usr/bin/env bash
# Checks the dynamic symbol table of libkelvor.so against .ci/exported-names.txt:
# every listed name present (with the listed number of overloads), and nothing
# else exported -- no internal helper, table or scan-conversion function.
set -euo pipefail
lib=${1:?usage: check-exports.sh path/to/libkelvor.so}
list=$(dirname "$0")/exported-names.txt

syms=$(nm -D --defined-only "$lib" | awk '{ $1=""; $2=""; sub(/^  /, ""); print }' | c++filt)
fail=0
declare -A want_count classes
while read -r first second; do
  [[ -z "$first" || "$first" == \#* ]] && continue
  if [[ "$first" == class ]]; then classes[$second]=1; want_count[$second]=0
  else want_count[$first]=${second:-0}; fi
done < "$list"

declare -A seen
while IFS= read -r s; do
  case "$s" in _init|_fini|_edata|_end|__bss_start) continue ;; esac
  name=$s
  name=${name#vtable for }
  name=${name#typeinfo for }
  name=${name#typeinfo name for }
  name=${name%%(*}
  base=${name%%::*}
  if [[ -n "${classes[$base]:-}" ]]; then seen[$base]=$(( ${seen[$base]:-0} + 1 )); continue; fi
  if [[ -n "${want_count[$name]+x}" ]]; then seen[$name]=$(( ${seen[$name]:-0} + 1 )); continue; fi
  echo "unexpected export: $s"; fail=1
done <<< "$syms"

for n in "${!want_count[@]}"; do
  got=${seen[$n]:-0}
  if (( got == 0 )); then echo "missing export: $n"; fail=1
  elif (( want_count[$n] > 0 && got != want_count[$n] )); then
    echo "export $n: $got overloads, expected ${want_count[$n]}"; fail=1
  fi
done
for c in "${!classes[@]}"; do
  grep -qx "vtable for $c" <<< "$syms" || { echo "missing vtable for $c"; fail=1; }
  grep -qx "typeinfo for $c" <<< "$syms" || { echo "missing typeinfo for $c"; fail=1; }
done
if (( fail )); then echo "export check FAILED"; exit 1; fi
echo "export check passed: $(wc -l <<< "$syms") dynamic symbols, all expected"
