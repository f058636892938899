# SPDX-License-Identifier: GPL-3.0-or-later
"""typed_example.py ARCHIVE SETTINGS OUTDIR: every public name of orv used once, checked by
mypy --strict and run by the tests: the archive read every way, then written again with
each kind of entry and packed from a folder."""

import io
import pathlib
import sys

import orv
from orv import (
    DEFAULT_FRAME_MS,
    Entry,
    EntryIterator,
    Error,
    Frame,
    FrameIterator,
    Input,
    LimitError,
    NotAnInputError,
    PackError,
    Pixels,
    Settings,
    SettingsError,
    Sound,
    Writer,
    decode_picture,
    pack_folder,
)


def describe(entry: Entry, settings: Settings, out: pathlib.Path) -> str:
    if entry.kind == "picture":
        picture = entry.picture()
        if isinstance(picture, Pixels):
            return f"{entry.shown}: {picture.width}x{picture.height}"
        return f"{entry.shown}: not drawn"
    if entry.kind == "animation":
        composed: FrameIterator = entry.frames(settings)
        frames: list[Frame] = list(composed)
        entry.save(out / f"{entry.index}.webp", "webp", settings)
        return f"{entry.shown}: {len(frames)} frames at {DEFAULT_FRAME_MS} ms"
    if entry.kind == "sound":
        sound: Sound = entry.sound()
        return f"{entry.shown}: {sound.channels} x {sound.rate} Hz, {len(entry.wav_bytes())} bytes of WAV"
    return f"{entry.shown}: {len(entry.data())} bytes"


def main(archive_path: str, settings_path: str, out: pathlib.Path) -> None:
    settings = Settings(settings_path)
    archive: Input
    with orv.open(archive_path) as archive:
        entries: EntryIterator = iter(archive)
        for entry in entries:
            print(describe(entry, settings, out))
        title = archive["title.cg"]
        drawn = decode_picture(title.data())
        writer = Writer()
        if isinstance(drawn, Pixels):
            writer.add_picture("copy.cg", drawn)
            writer.add_animation("copy.ani", [drawn, None])
        writer.add_sound("copy.pcm", archive["beep6.pcm"].sound().samples, 1, 22050)
        writer.add_bytes(b"copy.txt", archive[0].data())
        writer.remove("copy.txt")
        written = writer.write(out / "copy.dat")
    with orv.open(io.BytesIO(pathlib.Path(written).read_bytes()), name="copy.dat") as copy:
        print(written, len(copy), copy.kind)
    (out / "folder").mkdir(exist_ok=True)
    (out / "folder" / "note.txt").write_bytes(b"packed")
    print(pack_folder(out / "folder", output=out / "folder.dat", animation="frames", verbose=True, frame_ms=100))
    errors: tuple[type[Exception], ...] = (NotAnInputError, PackError, SettingsError, LimitError, Error)
    try:
        orv.open(out / "folder" / "note.txt")
    except errors as error:
        print(type(error).__name__, error)
    print(orv.__version__)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], pathlib.Path(sys.argv[3]))
