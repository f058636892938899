# SPDX-License-Identifier: GPL-3.0-or-later
"""Pillow formats for orv, registered when orv is imported:

ORVANI: an animation file (.ani) opens as an animated image of its composed frames
(n_frames, seek, tell, is_animated; info["duration"] in milliseconds), composed without
settings, as orvconv-cli converts without -s (Image.open hands a format no options: for
settings, read entry.frames(settings) through orv.open).
ORVCG: the bytes of a picture entry written out on their own (.cg) open as a picture.

As Pillow's own formats do, opening reads headers only: frames are drawn when the image
is loaded. Both are told by the file's name (a path, or a file object's name), as orvconv
tells its inputs: their bytes have no mark of their own. A file object without a name
(io.BytesIO) opens as an animation when its frame table is whole and plain.
"""

import os
import struct

from PIL import Image, ImageFile

import orv
from orv import _image_of


class _OrvImageFile(ImageFile.ImageFile):
    """An image whose pixels orv draws: load() hands them over, with no tiles for Pillow."""

    extension = ""

    def _name(self):
        name = getattr(self, "filename", "") or getattr(self.fp, "name", "") or ""
        return os.fsdecode(name) if isinstance(name, bytes) else str(name)

    def _check_name(self):
        if not self._name().lower().endswith(self.extension):
            raise SyntaxError(f"not a {self.format_description}")

    def _set_mode(self, mode):
        # A property over _mode from Pillow 10.1 on, an attribute before.
        if isinstance(getattr(type(self), "mode", None), property):
            self._mode = mode
        else:
            self.mode = mode

    def _show(self, pixels):
        self.im = _image_of(pixels, self._name() or self.format_description).im
        self._size = (pixels.width, pixels.height)


def _plain_table(data):
    """Whether bytes hold an animation's frame table as orvpack writes one: whole, its
    offsets in order after it and inside the file."""
    if len(data) < 4:
        return False
    first = struct.unpack_from("<I", data)[0]
    if first == 0 or first % 4 or first > len(data):
        return False
    offsets = struct.unpack_from(f"<{first // 4}I", data)
    return all(first <= a <= b < len(data) for a, b in zip(offsets, offsets[1:] + (len(data) - 1,)))


class AniImageFile(_OrvImageFile):
    format = "ORVANI"
    format_description = "animation file"
    extension = ".ani"

    def _open(self):
        if self._name():
            self._check_name()
        else:
            self.fp.seek(0)
            if not _plain_table(self.fp.read()):
                raise SyntaxError("not an animation file")
        # The frame table and each frame's header, read from wherever the file comes.
        with self._opened() as ani:
            self._sizes = [size for drawn, size in ani[0]._frame_headers() if drawn]
        if not self._sizes:
            raise SyntaxError("an animation without frames that are drawn")
        self._frames = None
        self.n_frames = len(self._sizes)
        self.is_animated = self.n_frames > 1
        self.info["duration"] = orv.DEFAULT_FRAME_MS
        self.info["loop"] = 0
        self._current = 0
        self._set_mode("RGB")
        self._size = self._sizes[0]
        self.tile = []

    def _opened(self):
        return orv.open(self.fp, kind="animation", name=os.path.basename(self._name()) or None)

    def seek(self, frame):
        if not self._seek_check(frame):
            return
        self._current = frame
        self._size = self._sizes[frame]
        self.im = None

    def tell(self):
        return self._current

    def load(self):
        if self._frames is None:
            with self._opened() as ani:
                self._frames = [f.pixels for f in ani[0].frames() if f.pixels is not None]
        if self.im is None or self.im.size != self._size:
            if self._current >= len(self._frames):
                raise OSError(f"frame {self._current} of {self._name()} is not drawn")
            self._show(self._frames[self._current])
        return Image.Image.load(self)


class CgImageFile(_OrvImageFile):
    format = "ORVCG"
    format_description = "picture entry"
    extension = ".cg"

    def _open(self):
        self._check_name()
        # One picture: drawn here, handed to Pillow when loaded.
        self._pixels = orv.decode_picture(self.fp.read())
        if not isinstance(self._pixels, orv.Pixels):
            raise SyntaxError("a picture of a type that is not drawn")
        self._set_mode("RGB")
        self._size = (self._pixels.width, self._pixels.height)
        self.tile = []

    def load(self):
        if self.im is None:
            self._show(self._pixels)
        return Image.Image.load(self)


for _format in (AniImageFile, CgImageFile):
    Image.register_open(_format.format, _format)
    Image.register_extension(_format.format, _format.extension)
