"""Builds the package's compiled module with the repository's CMake build
(the "python" preset, or the build folder in AMBRELAY_BUILD_DIR), so the
engine is compiled by CMake alone, and copies it into the package.

    /usr/bin/python3 -m venv --system-site-packages .venv
    .venv/bin/pip install --no-build-isolation ./python
"""

import os
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        given = os.environ.get("AMBRELAY_BUILD_DIR")
        build = Path(given) if given else ROOT / "build" / "python"
        if not given:
            # The interpreter installing the package is the one it is built for.
            subprocess.check_call(["cmake", "--preset", "python", f"-DPython_EXECUTABLE={sys.executable}"], cwd=ROOT)
        subprocess.check_call(["cmake", "--build", str(build), "--target", "_ambrelay", "--parallel"], cwd=ROOT)
        built = next((build / "python").glob("_ambrelay*" + Path(self.get_ext_filename(ext.name)).suffix))
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, target)


setup(
    name="ambrelay",
    version="1.0.0",
    description="Judge A/B tests: the Ambrelay engine for pandas and Dask",
    packages=["ambrelay"],
    package_data={"ambrelay": ["py.typed", "*.pyi"]},
    ext_modules=[Extension("ambrelay._ambrelay", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    python_requires=">=3.9",
    install_requires=["numpy", "pandas"],
    zip_safe=False,
)
