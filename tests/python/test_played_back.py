# SPDX-License-Identifier: GPL-3.0-or-later
"""orvpack --animation webp|gif on files saved again by Pillow, as a modder's tools save
them: equal frames merged into one shown longer, GIF frames stored as the rectangles that
change, other timings."""

import subprocess

import pytest

import orv
from conftest import ORVPACK, run_cli

np = pytest.importorskip("numpy", reason="the venv has no numpy")
Image = pytest.importorskip("PIL.Image", reason="the venv has no Pillow")


def few_colours(rng, height, width, colours):
    palette = rng.integers(0, 256, (colours, 3), dtype=np.uint8)
    return palette[rng.integers(0, colours, (height, width))]


def tree(folder):
    return {path.name: path.read_bytes() for path in folder.iterdir()}


@pytest.fixture
def walk(tmp_path):
    """walk.dat: frames 2 and 3 equal, frame 4 changing a corner of frame 3."""
    rng = np.random.default_rng(35)
    first, second = few_colours(rng, 24, 32, 6), few_colours(rng, 24, 32, 6)
    corner = second.copy()
    corner[:8, :8] = first[:8, :8]
    writer = orv.Writer()
    writer.add_animation("walk.ani", [first, second, second, corner])
    return writer.write(tmp_path / "walk.dat")


def resave(path, durations=None):
    """Every frame of the file saved again by Pillow, over the file, with its own timing
    unless durations are given."""
    with Image.open(path) as image:
        frames, times = [], []
        for index in range(image.n_frames):
            image.seek(index)
            frames.append(image.convert("RGB"))
            times.append(image.info["duration"])
    frames[0].save(path, save_all=True, append_images=frames[1:], duration=durations or times, loop=0, lossless=True)


def pack(folder, out, animation):
    return subprocess.run([ORVPACK, "--animation", animation, "-o", out, folder], capture_output=True, check=False)


@pytest.mark.parametrize("animation", ["webp", "gif"])
def test_merged_and_partial_frames_go_back_into_the_same_frames(walk, tmp_path, animation):
    assert run_cli("-o", tmp_path / "frames", walk).returncode == 0
    assert run_cli("--animation", animation, "-o", tmp_path / "played", walk).returncode == 0
    played = tmp_path / "played" / "walk" / f"walk.{animation}"
    resave(played)
    with Image.open(played) as image:
        assert image.n_frames == 3  # frames 2 and 3 merged

    done = pack(played.parent, tmp_path / "packed.dat", animation)
    assert done.returncode == 0, done.stderr
    assert b"frame 2 is shown for 2 frames' time: packed as 2 equal frames" in done.stderr
    assert run_cli("-o", tmp_path / "again", tmp_path / "packed.dat").returncode == 0
    assert tree(tmp_path / "again" / "packed") == tree(tmp_path / "frames" / "walk")


@pytest.mark.parametrize("animation", ["webp", "gif"])
def test_timings_that_are_no_whole_number_of_frames_are_refused_and_a_retiming_noted(walk, tmp_path, animation):
    assert run_cli("--animation", animation, "-o", tmp_path, walk).returncode == 0
    played = tmp_path / "walk" / f"walk.{animation}"
    original = played.read_bytes()

    # Pillow merges frames 2 and 3 into one of 250 ms.
    resave(played, durations=[100, 150, 100, 100])
    done = pack(played.parent, tmp_path / "odd.dat", animation)
    assert done.returncode == 1
    assert f"walk.{animation}: frame 2 is shown for 25".encode() in done.stderr, done.stderr
    assert not (tmp_path / "odd.dat").exists()

    played.write_bytes(original)
    resave(played, durations=[50, 50, 50, 50])
    done = pack(played.parent, tmp_path / "retimed.dat", animation)
    assert done.returncode == 0, done.stderr
    assert b"frames are shown for multiples of 5" in done.stderr
    with orv.open(tmp_path / "retimed.dat") as archive:
        assert archive["walk.ani"].frame_count == 4
