"""Builds the compiled part of the Python package with the project's CMake build.

The libraries are built static and position-independent (QCGRAPH_PYTHON_STATIC) and linked into
_qcgraph, so the wheel needs no C++ library beside it. The version is the CMake project's.
"""
import re
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


class CMakeExtension(Extension):
    def __init__(self, name):
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = Path(self.build_temp).resolve() / "cmake"
        build.mkdir(parents=True, exist_ok=True)
        subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja",
                        "-DCMAKE_BUILD_TYPE=Release",
                        "-DQCGRAPH_PYTHON=ON", "-DQCGRAPH_PYTHON_STATIC=ON",
                        "-DQCGRAPH_BUILD_TOOLS=OFF", "-DQCGRAPH_BUILD_EXAMPLES=OFF",
                        f"-DPython_EXECUTABLE={sys.executable}"], check=True)
        jobs = [f"-j{self.parallel}"] if self.parallel else []
        subprocess.run(["cmake", "--build", str(build), "--target", "qcgraph_python", *jobs], check=True)
        built = next((build / "python" / "qcgraph").glob("_qcgraph*.so"))
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        self.copy_file(str(built), str(target))


def version():
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(qcgraph VERSION ([0-9.]+)", text).group(1)


setup(
    version=version(),
    package_dir={"": "python"},
    packages=["qcgraph"],
    package_data={"qcgraph": ["py.typed", "*.pyi"]},
    ext_modules=[CMakeExtension("qcgraph._qcgraph")],
    cmdclass={"build_ext": CMakeBuild},
)
