# SPDX-License-Identifier: GPL-3.0-or-later
"""Pillow formats for orv, registered when orv is imported:

ORVANI: an animation file (.ani) opens as an animated image of its composed frames
(n_frames, seek, tell, is_animated; info["duration"] in milliseconds), composed without
settings, as orvconv-cli converts without -s (Image.open hands a format no options: for
settings, read entry.frames(settings) through orv.open).
ORVCG: the bytes of a picture entry written out on their own (.cg) open as a picture.

As Pillow's own formats do, opening reads headers only, each once: frames are drawn
when the image is loaded, one at a time from the last one drawn (from the first when seeking
back). A frame table that claims more frames than the file holds is orv.Error. Both are told by the file's name (a path, or a file object's name), as orvconv
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
        # The frame table and each frame's header, read from wherever the file comes, each
        # header once: orv.Error for a table that claims more frames than the file holds.
        with self._opened() as ani:
            self._sizes = memoryview(ani[0]._frame_sizes()).cast("I")
        if not self._sizes:
            raise SyntaxError("an animation without frames that are drawn")
        self.n_frames = len(self._sizes) // 2
        self.is_animated = self.n_frames > 1
        self.info["duration"] = orv.DEFAULT_FRAME_MS
        self.info["loop"] = 0
        self._current = 0
        # The frames composed so far, one at a time, and the last of them drawn.
        self._frames = None
        self._composed = -1
        self._pixels = None
        self._set_mode("RGB")
        self._size = self._frame_size(0)
        self.tile = []

    def _frame_size(self, frame):
        return (self._sizes[2 * frame], self._sizes[2 * frame + 1])

    def _opened(self):
        return orv.open(self.fp, kind="animation", name=os.path.basename(self._name()) or None)

    def seek(self, frame):
        if not self._seek_check(frame):
            return
        self._current = frame
        self._size = self._frame_size(frame)
        self.im = None

    def tell(self):
        return self._current

    def _drawn(self, frame):
        """The pixels of the frame-th frame drawn, composed on from the last one asked for,
        or from the first when it lies behind, as Pillow's own animated formats seek."""
        if self._frames is None or frame < self._composed:
            # The iterator holds the animation's bytes: the input closes at once.
            with self._opened() as ani:
                self._frames = ani[0].frames()
            self._composed = -1
        while self._composed < frame:
            shown = next(self._frames, None)
            if shown is None:
                raise OSError(f"frame {frame} of {self._name()} is not drawn")
            if shown.pixels is not None:
                self._composed += 1
                self._pixels = shown.pixels
        return self._pixels

    def load(self):
        if self.im is None or self.im.size != self._size:
            self._show(self._drawn(self._current))
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
