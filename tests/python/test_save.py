# SPDX-License-Identifier: GPL-3.0-or-later
"""An animation saved as one file through the engine's writers is, byte for byte, what
orvconv-cli --animation writes. Needs neither numpy nor Pillow."""

import pytest

import orv
from conftest import run_cli


@pytest.mark.parametrize("form", ["webp", "gif"])
def test_save_writes_what_orvconv_cli_writes(sample, tmp_path, form):
    done = run_cli("--animation", form, "--frame-ms", 70, "-s", sample / "sample.ini", "-o", tmp_path / "cli",
                   sample / "sample.dat")
    assert done.returncode == 0, done.stderr
    with orv.open(sample / "sample.dat") as archive:
        archive["walk.ani"].save(tmp_path / f"walk.{form}", form, settings=sample / "sample.ini", frame_ms=70)
        with pytest.raises(ValueError):
            archive["walk.ani"].save(tmp_path / "walk.png", "png")
        with pytest.raises(TypeError):
            archive["title.cg"].save(tmp_path / "title.gif", "gif")
    assert (tmp_path / f"walk.{form}").read_bytes() == (tmp_path / "cli" / "sample" / f"walk.{form}").read_bytes()
    assert sorted(p.name for p in tmp_path.iterdir()) == ["cli", f"walk.{form}"]


def test_save_as_a_sheet_writes_orvconv_clis_png_and_index(sample, tmp_path):
    done = run_cli("--animation", "sheet", "--sheet-columns", 3, "-o", tmp_path / "cli", sample / "walk.ani")
    assert done.returncode == 0, done.stderr
    with orv.open(sample / "walk.ani") as ani:
        ani[0].save(tmp_path / "walk_sheet.png", "sheet", columns=3)
    for name in ("walk_sheet.png", "walk_sheet.json"):
        assert (tmp_path / name).read_bytes() == (tmp_path / "cli" / "walk" / name).read_bytes(), name
