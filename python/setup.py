"""Builds the compiled core with the repository's CMake project.

The build configures the whole library (one directory up) with
KELVOR_BUILD_PYTHON=ON, builds the _kelvor extension, and installs the
CMake component ``kelvor_python``: the extension and libkelvor.so.0 side by
side, the extension finding the library through its $ORIGIN run path, and
kelvor/_version.py. The version is the project's, read from
project(Kelvor VERSION ...) in the top-level CMakeLists.txt.
Set CMAKE_BUILD_PARALLEL_LEVEL to choose the number of build jobs (default 2).
"""

import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent


def project_version() -> str:
    found = re.search(r"project\(\s*Kelvor\s+VERSION\s+([0-9.]+)",
                      (ROOT / "CMakeLists.txt").read_text(encoding="utf-8"))
    if not found:
        raise RuntimeError(f"no project(Kelvor VERSION ...) in {ROOT / 'CMakeLists.txt'}")
    return found.group(1)


class CMakeExtension(Extension):
    def __init__(self, name: str) -> None:
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext: Extension) -> None:
        if not (ROOT / "CMakeLists.txt").exists():
            raise RuntimeError(f"the Kelvor sources are expected in {ROOT}; install from the "
                               "python/ directory of a Kelvor checkout")
        target = Path(self.get_ext_fullpath(ext.name))
        build = Path(self.build_temp).resolve() / "cmake"
        stage = Path(self.build_temp).resolve() / "stage"
        configure = ["cmake", "-S", str(ROOT), "-B", str(build),
                     "-DCMAKE_BUILD_TYPE=Release", "-DKELVOR_BUILD_PYTHON=ON",
                     "-DKELVOR_BUILD_TESTS=OFF", "-DKELVOR_BUILD_EXAMPLES=OFF",
                     "-DKELVOR_BUILD_BENCH=OFF", f"-DPython3_EXECUTABLE={sys.executable}"]
        if shutil.which("ninja") and not (build / "CMakeCache.txt").exists():
            configure += ["-G", "Ninja"]
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", "2")
        subprocess.check_call(configure)
        subprocess.check_call(["cmake", "--build", str(build), "--target", "_kelvor", "-j", jobs])
        if stage.exists():
            shutil.rmtree(stage)
        subprocess.check_call(["cmake", "--install", str(build), "--component", "kelvor_python",
                               "--prefix", str(stage)])
        staged = stage / "kelvor"
        target.parent.mkdir(parents=True, exist_ok=True)
        (extension,) = staged.glob("_kelvor*.so")
        shutil.copyfile(extension, target)
        # Only the name the extension asks for (the soname) is needed; a wheel
        # cannot carry symbolic links, so the file is copied under that name.
        soname = min(staged.glob("libkelvor.so.*"), key=lambda p: len(p.name))
        shutil.copyfile(soname, target.parent / soname.name)
        shutil.copyfile(staged / "_version.py", target.parent / "_version.py")


setup(version=project_version(), ext_modules=[CMakeExtension("kelvor._kelvor")],
      cmdclass={"build_ext": CMakeBuild})
