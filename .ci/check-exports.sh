#!/usr/bin/env bash
# Checks the dynamic symbol table of libkelvor.so against .ci/exported-names.txt:
# every listed name present (with the listed number of overloads), and nothing
# else exported -- no internal helper, table or scan-conversion function.
#
# List entries: a function name (qualified for the kelvor:: additions) with an
# optional overload count; "class X" for a polymorphic class (all members, and
# its vtable and typeinfo, must be exported); "members X" for a class without
# virtual functions (members only).
# Weak instantiations of standard-library templates (std::, __gnu_cxx::) are
# not counted: GCC gives every std template default visibility, so the code
# that std::vector expands into inside the library is emitted as weak,
# interposable definitions; Clang hides them.
set -euo pipefail
lib=${1:?usage: check-exports.sh path/to/libkelvor.so}
list=$(dirname "$0")/exported-names.txt

syms=$(nm -D --defined-only "$lib" | awk '{ t=$2; $1=""; $2=""; sub(/^  /, ""); print t "\t" $0 }' |
       c++filt)
fail=0
declare -A want_count owners polymorphic
while read -r first second; do
  [[ -z "$first" || "$first" == \#* ]] && continue
  case "$first" in
    class) owners[$second]=1; polymorphic[$second]=1 ;;
    members) owners[$second]=1 ;;
    *) want_count[$first]=${second:-0} ;;
  esac
done < "$list"

declare -A seen
total=0
while IFS=$'\t' read -r type s; do
  case "$s" in _init|_fini|_edata|_end|__bss_start) continue ;; esac
  if [[ "$type" =~ ^[WVu]$ && "$s" =~ ^([a-z ]+[ *&])?(std|__gnu_cxx):: ]]; then continue; fi
  total=$((total + 1))
  # A class's private state and helpers stay inside (KELVOR_LOCAL), even
  # where the class itself is exported.
  case "$s" in *::Impl*|*"::get() const"*) echo "private member exported: $s"; fail=1; continue ;; esac
  name=$s
  name=${name#vtable for }
  name=${name#typeinfo for }
  name=${name#typeinfo name for }
  name=${name%%(*}
  owner=""
  for c in "${!owners[@]}"; do
    if [[ "$name" == "$c" || "$name" == "$c::"* ]]; then owner=$c; break; fi
  done
  if [[ -n "$owner" ]]; then seen[$owner]=$(( ${seen[$owner]:-0} + 1 )); continue; fi
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
for c in "${!owners[@]}"; do
  (( ${seen[$c]:-0} > 0 )) || { echo "missing members of $c"; fail=1; }
done
for c in "${!polymorphic[@]}"; do
  grep -qP "\tvtable for $c\$" <<< "$syms" || { echo "missing vtable for $c"; fail=1; }
  grep -qP "\ttypeinfo for $c\$" <<< "$syms" || { echo "missing typeinfo for $c"; fail=1; }
done
if (( fail )); then echo "export check FAILED"; exit 1; fi
echo "export check passed: $total dynamic symbols, all expected"
