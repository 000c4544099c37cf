#!/usr/bin/env bash
# Compares what a Windows libkelvor.dll exports with what the Linux
# libkelvor.so exports: the same names with the same signatures (both
# demangled; std::size_t, unsigned long long on 64-bit Windows, is read as
# unsigned long). Windows keeps no RTTI name strings, and the weak std::
# instantiations of GCC's Linux build are not part of the interface.
# usage: compare-dll-exports.sh libkelvor.dll libkelvor.so
set -euo pipefail
dll=${1:?usage: compare-dll-exports.sh libkelvor.dll libkelvor.so}
so=${2:?usage: compare-dll-exports.sh libkelvor.dll libkelvor.so}
x86_64-w64-mingw32-objdump -p "$dll" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^\t\[ *[0-9]*\] //p' | x86_64-w64-mingw32-c++filt |
  sed 's/unsigned long long/unsigned long/g' | sort > "$dll.exports"
nm -D --defined-only "$so" | awk '{ print $3 }' |
  grep -v -E '^(_ZNSt|_ZSt|_ZN9__gnu|_ZTS|_init$|_fini$|_edata$|_end$|__bss_start$)' |
  c++filt | sort > "$so.exports"
if ! diff "$so.exports" "$dll.exports"; then
  echo "the DLL's exports differ from the shared library's (< .so only, > .dll only)"
  exit 1
fi
echo "DLL exports equal the shared library's: $(wc -l < "$dll.exports") names"
