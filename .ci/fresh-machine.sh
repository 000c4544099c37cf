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
# A whiteout (character device 0/0) in the overlay's upper layer hides the
# file of the same path below it.
for pkg in $hidden; do
  dpkg -L "$pkg" 2>/dev/null || true
done | /usr/bin/python3 -c '
import os, sys
upper = sys.argv[1]
for line in sys.stdin:
    f = line.strip()
    if f.startswith("/usr/") and (os.path.isfile(f) or os.path.islink(f)):
        w = os.path.join(upper, f[len("/usr/"):])
        os.makedirs(os.path.dirname(w), exist_ok=True)
        if not os.path.lexists(w):
            os.mknod(w, 0o600 | 0o020000, os.makedev(0, 0))
' "$work/upper"

unshare --mount --propagation private bash -euo pipefail -c '
  mount -t overlay overlay -o "lowerdir=/usr,upperdir=$1/upper,workdir=$1/overlay-work" /usr
  cd "$1/clone"
  if [ -e /usr/include/pybind11/pybind11.h ] || [ -e /usr/bin/doxygen ] ||
     /usr/bin/python3 -c "import numpy; numpy.zeros(1)" 2>/dev/null; then
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
