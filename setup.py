# SPDX-License-Identifier: GPL-3.0-or-later
"""The wheel's build: the extension orv._orv through the project's CMake, with the
package's pure-Python files beside it. The version is the project's own, from
CMakeLists.txt."""

import re
from pathlib import Path

from skbuild import setup
from skbuild.command.install import install


class Install(install):
    # Debian's setuptools asks the install command for the options Debian's own Python
    # adds to it: none for another Python that builds with it.
    install_layout = None
    prefix_option = None


root = Path(__file__).resolve().parent
version = re.search(r"project\(orvconv VERSION (\S+)", (root / "CMakeLists.txt").read_text(encoding="utf-8"))

cmake_args = [
    "-DCMAKE_BUILD_TYPE=Release",
    "-DORVCONV_BUILD_APP=OFF",
    "-DORVCONV_BUILD_TESTS=OFF",
    "-DORVCONV_BUILD_BENCH=OFF",
]
try:
    # pybind11 from the package index (build isolation) rather than Debian's pybind11-dev.
    import pybind11

    cmake_args.append(f"-Dpybind11_DIR={pybind11.get_cmake_dir()}")
except ImportError:
    pass

setup(
    version=version.group(1),
    packages=["orv"],
    package_dir={"": "src/python"},
    package_data={"orv": ["py.typed", "*.pyi"]},
    cmake_args=cmake_args,
    cmake_install_dir="src/python",
    cmake_install_target="orv_python_install",
    cmdclass={"install": Install},
)
