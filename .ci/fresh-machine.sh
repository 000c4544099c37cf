#!/usr/bin/env bash
# Runs the README's two commands, exactly as the README writes them, in a
# clean clone, as on a machine that has only g++, clang, CMake, Ninja,
# GoogleTest, Google Benchmark and python3: in a private mount namespace
# where every file of the optional packages (Python headers, pybind11,
# numpy and the scientific Python stack, Doxygen, the benchmarks' peer
# libraries, MPFR) is hidden by an overlay over /usr with whiteouts. Both
# commands must pass, and the optional suites must show as skipped.
# Needs: root (unshare, mount), util-linux, git.
set -euo pipefail
cd "$(dirname "$0")/.."

hidden="python3-dev python3.11-dev libpython3.11-dev pybind11-dev python3-pybind11
  python3-numpy python3-pytest python3-pandas python3-dask python3-distributed
  python3-shapely python3-geopandas doxygen libgeos-dev libboost1.74-dev
  libfixmath-dev libmpfr-dev"

# The first two ```sh blocks of the README: the tour, then the test command.
mapfile -t commands < <(awk '/^```sh$/ { n++; grab = 1; next } /^```$/ { grab = 0 }
                               grab && n <= 2 { print }' README.md)
[ "${#commands[@]}" -eq 2 ] || { echo "README: expected two commands"; exit 1; }

work=$(mktemp -d /tmp/kelvor-fresh.XXXXXX)
git clone --quiet "file://$PWD" "$work/clone"
mkdir -p "$work/upper" "$work/overlay-work"
for pkg in $hidden; do
  dpkg -L "$pkg" 2>/dev/null || true
done | while read -r f; do
  case "$f" in /usr/*) ;; *) continue ;; esac
  if [ -f "$f" ] || [ -L "$f" ]; then
    rel=${f#/usr/}
    mkdir -p "$work/upper/$(dirname "$rel")"
    [ -e "$work/upper/$rel" ] || mknod "$work/upper/$rel" c 0 0  # a whiteout
  fi
done

unshare --mount --propagation private bash -euo pipefail -c '
  mount -t overlay overlay -o "lowerdir=/usr,upperdir=$1/upper,workdir=$1/overlay-work" /usr
  cd "$1/clone"
  if [ -e /usr/include/pybind11 ] || /usr/bin/python3 -c "import numpy" 2>/dev/null; then
    echo "optional packages are still visible"; exit 1
  fi
  echo "== README, tour: $2"
  bash -euo pipefail -c "$2"
  echo "== README, tests: $3"
  bash -euo pipefail -c "$3" | tee "$1/tests.log"
  grep -q "python_pytest (Skipped)" "$1/tests.log"
' fresh "$work" "${commands[0]}" "${commands[1]}"
rm -rf "$work"
echo "both README commands pass without the optional packages"
