# SPDX-License-Identifier: GPL-3.0-or-later
"""The package's types: mypy --strict passes on the README's scripts and on an example that
uses every public name, which also runs."""

import os
import subprocess
import sys
from pathlib import Path

import pytest

import orv
from test_readme import readme_scripts

HERE = Path(__file__).parent
pytest.importorskip("mypy", reason="the venv has no mypy")


def test_the_stubs_name_every_public_name():
    stub = (Path(orv.__file__).parent / "__init__.pyi").read_text(encoding="utf-8")
    assert (Path(orv.__file__).parent / "py.typed").exists()
    for name in [*orv.__all__, "open", "__version__"]:
        assert f"class {name}(" in stub or f"class {name}:" in stub or f"def {name}(" in stub or f"{name}:" in stub


def test_mypy_strict_passes_on_the_readme_and_the_example(tmp_path):
    scripts = []
    for name, text in readme_scripts().items():
        (tmp_path / name).write_text(text, encoding="utf-8")
        scripts.append(tmp_path / name)
    env = dict(os.environ, MYPYPATH=str(Path(orv.__file__).parent.parent))
    done = subprocess.run(
        [sys.executable, "-m", "mypy", "--config-file", HERE / "mypy.ini", "--cache-dir", tmp_path / "cache",
         *scripts, HERE / "typed_example.py"],
        capture_output=True, text=True, env=env, check=False,
    )
    assert done.returncode == 0, done.stdout + done.stderr


def test_the_typed_example_runs(sample, tmp_path):
    done = subprocess.run(
        [sys.executable, HERE / "typed_example.py", sample / "sample.dat", sample / "sample.ini", tmp_path],
        capture_output=True, text=True, check=False,
    )
    assert done.returncode == 0, done.stderr
    assert "walk.ani: " in done.stdout and orv.__version__ in done.stdout
