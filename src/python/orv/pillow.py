# SPDX-License-Identifier: GPL-3.0-or-later
"""Pillow formats for orv, registered when orv is imported:

ORVANI: an animation file (.ani) opens as an animated image of its composed frames
(n_frames, seek, tell, is_animated; info["duration"] in milliseconds).
ORVCG: the bytes of a picture entry written out on their own (.cg) open as a picture.

Both are told by the file's name (a path, or a file object's name), as orvconv tells
its inputs: their bytes have no mark of their own.
"""

import os

from PIL import Image, ImageFile

import orv
from orv import _image_of


class _OrvImageFile(ImageFile.ImageFile):
    """An image whose pixels orv has decoded whole: nothing is left for Pillow to load."""

    extension = ""

    def _check_name(self):
        name = getattr(self, "filename", "") or getattr(self.fp, "name", "") or ""
        if isinstance(name, bytes):
            name = os.fsdecode(name)
        if not str(name).lower().endswith(self.extension):
            raise SyntaxError(f"not a {self.format_description}")

    def _show(self, pixels):
        self.im = _image_of(pixels, self.filename or self.format_description).im
        self.mode = "RGB"
        self._size = (pixels.width, pixels.height)
        self.tile = []

    def load(self):
        return Image.Image.load(self)


class AniImageFile(_OrvImageFile):
    format = "ORVANI"
    format_description = "animation file"
    extension = ".ani"

    def _open(self):
        self._check_name()
        # Read from wherever the file comes, as far as its frames ask.
        with orv.open(self.fp, kind="animation") as ani:
            frames = ani[0].frames()
        self._frames = [frame.pixels for frame in frames if frame.pixels is not None]
        if not self._frames:
            raise SyntaxError("an animation without frames that are drawn")
        self.n_frames = len(self._frames)
        self.is_animated = self.n_frames > 1
        self.info["duration"] = orv.DEFAULT_FRAME_MS
        self.info["loop"] = 0
        self._current = 0
        self._show(self._frames[0])

    def seek(self, frame):
        if not self._seek_check(frame):
            return
        self._current = frame
        self._show(self._frames[frame])

    def tell(self):
        return self._current


class CgImageFile(_OrvImageFile):
    format = "ORVCG"
    format_description = "picture entry"
    extension = ".cg"

    def _open(self):
        self._check_name()
        pixels = orv.decode_picture(self.fp.read())
        if not isinstance(pixels, orv.Pixels):
            raise SyntaxError("a picture of a type that is not drawn")
        self._show(pixels)


for _format in (AniImageFile, CgImageFile):
    Image.register_open(_format.format, _format)
    Image.register_extension(_format.format, _format.extension)
