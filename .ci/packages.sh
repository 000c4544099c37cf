#!/usr/bin/env bash
# Builds the Debian packages (cmake --build --preset release --target package)
# and checks them as a user meets them: what each package must and must not
# hold, its control fields, a client built from the unpacked packages by
# CMake and by pkg-config, the Python package imported and tested from them,
# and lintian (any error fails; warnings are listed).
#
# Needs the release build's tools plus these Debian packages: dpkg-dev
# (dpkg-shlibdeps, dpkg-architecture), file (CPack sorts binaries with it),
# lintian, pkg-config, binutils (readelf), python3-numpy and python3-pytest.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/release
work=$build/package-check
root=$work/root

cmake --preset release -DKELVOR_BUILD_PYTHON=ON >/dev/null  # python3-kelvor is one of the packages checked
cmake --build --preset release --target package

cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
version=$(cache CMAKE_PROJECT_VERSION)
release=$(cache KELVOR_DEB_RELEASE)
soversion=${version%%.*}
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
libdir=usr/lib/$multiarch
pydir=usr/lib/python3/dist-packages/kelvor
full="$version-$release"
runtime=$build/libkelvor${soversion}_${full}_$arch.deb
dev=$build/libkelvor-dev_${full}_$arch.deb
python=$build/python3-kelvor_${full}_$arch.deb

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Paths held by a package, without the leading ./ or a link's target.
contents() { dpkg-deb --contents "$1" | awk '{print $6}' | sed 's|^\./||; s|/$||'; }

must_hold() {
  local deb=$1 listing
  shift
  listing=$(contents "$deb")
  for path in "$@"; do
    grep -qxF "$path" <<<"$listing" || fail "$(basename "$deb") lacks $path"
  done
}

must_not_hold() {
  local deb=$1 listing found
  shift
  listing=$(contents "$deb")
  for pattern in "$@"; do
    found=$(grep -E "$pattern" <<<"$listing" || true)
    [[ -z $found ]] || fail "$(basename "$deb") holds what it must not (/$pattern/): $found"
  done
}

field_has() {
  local deb=$1 field=$2 want=$3 value
  value=$(dpkg-deb --field "$deb" "$field")
  grep -qF -- "$want" <<<"$value" || fail "$(basename "$deb") $field is '$value', lacks '$want'"
}

echo "== package contents and control fields"
for deb in "$runtime" "$dev" "$python"; do
  [[ -f $deb ]] || { echo "FAIL: $deb was not built"; exit 1; }
  echo "-- $(basename "$deb")"
  dpkg-deb --info "$deb"
  dpkg-deb --contents "$deb"
  field_has "$deb" Architecture "$arch"
  field_has "$deb" Version "$full"
  field_has "$deb" Priority optional
  must_not_hold "$deb" '^(usr/local|etc|opt|home|root|tmp)(/|$)' '^usr/lib/lib' '__pycache__|\.pyc$'
done

name=libkelvor$soversion
must_hold "$runtime" "$libdir/libkelvor.so.$soversion" "$libdir/libkelvor.so.$version" \
  "usr/share/doc/$name/copyright" "usr/share/doc/$name/changelog.Debian.gz"
must_not_hold "$runtime" '\.h$' '/libkelvor\.so$' '/cmake/' '\.pc$' 'python'
field_has "$runtime" Section libs
field_has "$runtime" Depends 'libc6'
field_has "$runtime" Depends 'libstdc++6'
dpkg-deb --ctrl-tarfile "$runtime" | tar -tf - | grep -qx './triggers' ||
  fail "$(basename "$runtime") has no ldconfig trigger"

headers=()
for header in include/kelvor/*.h; do headers+=("usr/$header"); done
must_hold "$dev" "${headers[@]}" "$libdir/libkelvor.so" \
  "$libdir/cmake/Kelvor/KelvorConfig.cmake" "$libdir/cmake/Kelvor/KelvorConfigVersion.cmake" \
  "$libdir/cmake/Kelvor/KelvorTargets.cmake" "$libdir/pkgconfig/kelvor.pc" \
  "usr/share/doc/libkelvor-dev/copyright" "usr/share/doc/libkelvor-dev/changelog.Debian.gz"
must_not_hold "$dev" 'libkelvor\.so\.' 'python'
field_has "$dev" Section libdevel
field_has "$dev" Depends "$name (= $full)"

pyfiles=()
for file in python/kelvor/*.py python/kelvor/dask/*.py python/kelvor/*.pyi python/kelvor/py.typed; do
  pyfiles+=("$pydir/${file#python/kelvor/}")
done
must_hold "$python" "${pyfiles[@]}" "$pydir/_version.py" "usr/share/doc/python3-kelvor/copyright"
contents "$python" | grep -qE "^$pydir/_kelvor\.cpython-[^/]*\.so$" ||
  fail "$(basename "$python") lacks the _kelvor extension"
must_not_hold "$python" 'libkelvor\.so' '^usr/include'
field_has "$python" Section python
field_has "$python" Depends "$name (= $full)"
field_has "$python" Depends 'python3-numpy'

echo "== unpacking into $root"
rm -rf "$work"
mkdir -p "$root"
for deb in "$runtime" "$dev" "$python"; do dpkg -x "$deb" "$root"; done
root=$(cd "$root" && pwd)
export LD_LIBRARY_PATH=$root/$libdir

extension=$(echo "$root/$pydir"/_kelvor.cpython-*.so)
if readelf -d "$extension" | grep -qE 'RPATH|RUNPATH'; then
  fail "the packaged extension keeps a run path: $(readelf -d "$extension" | grep -E 'RPATH|RUNPATH')"
fi

# The loader must take libkelvor.so.0 from the unpacked root, not from an
# installed package or the build tree.
loads_from_root() {
  local resolved
  resolved=$(ldd "$1" | awk '/libkelvor\.so/ {print $3}')
  [[ $resolved == "$root/$libdir/"* ]] || fail "$1 loads libkelvor from '$resolved'"
}

echo "== client through find_package(Kelvor) from the unpacked packages"
cmake -S tests/package/consumer -B "$work/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKelvor_DIR="$root/$libdir/cmake/Kelvor" >/dev/null
cmake --build "$work/cmake" >/dev/null
loads_from_root "$work/cmake/kelvor_consumer"
"$work/cmake/kelvor_consumer" | grep -qx 'consumer ok' || fail "CMake client output"

echo "== client through pkg-config from the unpacked packages"
flags=$(PKG_CONFIG_LIBDIR=$root/$libdir/pkgconfig pkg-config --cflags --libs kelvor)
echo "pkg-config: $flags"
# shellcheck disable=SC2086 # the flags are words
g++ -std=c++17 tests/package/consumer/main.cpp $flags -o "$work/pc_consumer"
loads_from_root "$work/pc_consumer"
"$work/pc_consumer" | grep -qx 'consumer ok' || fail "pkg-config client output"

echo "== Python package from the unpacked packages"
export PYTHONPATH=$root/usr/lib/python3/dist-packages PYTHONDONTWRITEBYTECODE=1
/usr/bin/python3 -s - "$root" <<'EOF' || fail "Python import from the unpacked packages"
import sys

import kelvor

root = sys.argv[1]
assert kelvor.__file__.startswith(root + "/"), kelvor.__file__
with open("/proc/self/maps") as maps:
    libs = {line.split()[-1] for line in maps if "libkelvor.so" in line}
assert libs and all(lib.startswith(root + "/") for lib in libs), libs
assert int(kelvor.mulfix(3 << 16, 1 << 15)) == 98304
print("imported", kelvor.__file__, "with", *sorted(libs))
EOF
/usr/bin/python3 -s -m pytest -q -p no:cacheprovider python/tests || fail "pytest on the unpacked package"

echo "== lintian"
lintian_out=$work/lintian.txt
set +e
lintian --allow-root --fail-on error --display-info "$runtime" "$dev" "$python" >"$lintian_out" 2>&1
lintian_rc=$?
set -e
cat "$lintian_out"
[[ $lintian_rc -eq 0 ]] || fail "lintian reports errors (exit $lintian_rc)"
echo "lintian: $(grep -c '^E:' "$lintian_out") errors, $(grep -c '^W:' "$lintian_out") warnings," \
  "$(grep -c '^I:' "$lintian_out") notes"

if ((failures)); then
  echo "package check: $failures failed"
  exit 1
fi
echo "package check passed"
