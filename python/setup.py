"""Builds the Python package `tavon`: the module and the shared library libtavon.so.1 beside it.

The library comes from (in this order): the file named by TAVON_LIBRARY; the system's libtavon.so.1
when TAVON_SYSTEM_LIBRARY=1 (the libtavon1 Debian package), bundling nothing; else a build of the
repository this folder belongs to (CMake and a C++20 compiler, the target tavon_shared)."""
import os
import shutil
import subprocess

from setuptools import setup
from setuptools.command.build_py import build_py
from setuptools.dist import Distribution

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
LIBRARY = "libtavon.so.1"


def built_library() -> str:
    build = os.path.join(HERE, "build-native")
    generator = ["-G", "Ninja"] if shutil.which("ninja") else []
    subprocess.check_call(["cmake", "-S", ROOT, "-B", build, *generator, "-DCMAKE_BUILD_TYPE=Release",
                           "-DTAVON_TESTS=OFF"])
    subprocess.check_call(["cmake", "--build", build, "--target", "tavon_shared"])
    return os.path.join(build, LIBRARY)


class BuildWithLibrary(build_py):
    def run(self):
        super().run()
        if os.environ.get("TAVON_SYSTEM_LIBRARY") == "1":
            return
        library = os.environ.get("TAVON_LIBRARY") or built_library()
        # Under the name the module loads, whichever of the library's names was given.
        target = os.path.join(self.build_lib, "tavon", "tavon.dll" if library.endswith(".dll") else LIBRARY)
        shutil.copyfile(os.path.realpath(library), target)


class BinaryDistribution(Distribution):
    def has_ext_modules(self):  # the library makes the package specific to its platform
        return True


def version() -> str:
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("project("):
                return line.split("VERSION")[1].split()[0]
    return "0"


setup(
    name="tavon",
    version=version(),
    description="Kontrola souborů DUV (strukturální mzdové statistiky): nálezy jako data a protokoly",
    license="MIT",
    packages=["tavon"],
    python_requires=">=3.7",
    cmdclass={"build_py": BuildWithLibrary},
    distclass=BinaryDistribution,
)
