# SPDX-License-Identifier: GPL-3.0-or-later
"""The README's scripts, run as they are printed, and the documentation help(orv) shows."""

import os
import pydoc
import re
import subprocess
import sys
from pathlib import Path


import pytest

import orv

np = pytest.importorskip("numpy", reason="the venv has no numpy")
Image = pytest.importorskip("PIL.Image", reason="the venv has no Pillow")


def readme_scripts():
    text = Path(os.environ["ORVCONV_README"]).read_text(encoding="utf-8")
    blocks = re.findall(r"```python\n(.*?)```", text, re.S)
    return {re.match(r"# (\S+\.py)", block).group(1): block for block in blocks}


def run_script(tmp_path, name, *args):
    script = tmp_path / name
    script.write_text(readme_scripts()[name], encoding="utf-8")
    done = subprocess.run([sys.executable, script, *map(str, args)], capture_output=True, check=False)
    assert done.returncode == 0, done.stderr.decode()
    return done


def test_export_pictures_writes_what_orvconv_cli_writes(sample, converted, tmp_path):
    run_script(tmp_path, "export_pictures.py", sample / "sample.dat", tmp_path / "pictures")
    written = sorted(p.name for p in (tmp_path / "pictures").iterdir())
    expected = sorted(p.name for p in (converted / "sample").glob("*.png") if not p.name.startswith("walk_"))
    assert written == expected and written
    for name in written:
        with Image.open(tmp_path / "pictures" / name) as ours, Image.open(converted / "sample" / name) as theirs:
            np.testing.assert_array_equal(np.asarray(ours), np.asarray(theirs.convert("RGB")))


def test_replace_picture_keeps_the_other_entries(sample, tmp_path):
    art = np.zeros((30, 40, 3), np.uint8)
    art[10:20, 5:35] = (200, 40, 90)
    Image.fromarray(art).save(tmp_path / "art.png")
    out = tmp_path / "translated.dat"
    run_script(tmp_path, "replace_picture.py", sample / "sample.dat", "title.cg", tmp_path / "art.png", out)
    with orv.open(sample / "sample.dat") as before, orv.open(out) as after:
        assert [e.name for e in before] == [e.name for e in after]
        for old, new in zip(before, after):
            if old.shown != "title.cg":
                assert old.data() == new.data()
        np.testing.assert_array_equal(np.asarray(after["title.cg"].picture()), art)


def test_help_documents_every_name():
    shown = pydoc.render_doc(orv, renderer=pydoc.plaintext)
    for name in ("Input", "Entry", "Pixels", "Frame", "Sound", "Settings", "Writer"):
        assert f"class {name}(" in shown, name
    for name in ("pack_folder", "decode_picture"):
        assert f"\n    {name}(" in shown, name
    # open is left out of __all__, which help follows, so that `from orv import *` keeps
    # the built-in open: the package's description names it.
    assert "orv.open(path)" in shown and orv.open.__doc__.strip()
    public = [getattr(orv, name) for name in dir(orv) if not name.startswith("_")]
    undocumented = [f for f in public if callable(f) and not (f.__doc__ or "").strip()]
    assert not undocumented
    for cls in (orv.Input, orv.Entry, orv.Writer):
        methods = [m for m in vars(cls) if not m.startswith("_")]
        assert all((getattr(cls, m).__doc__ or "").strip() for m in methods), cls
