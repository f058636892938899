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


def _named(image, extension):
    name = getattr(image, "filename", "") or getattr(image.fp, "name", "") or ""
    if isinstance(name, bytes):
        name = os.fsdecode(name)
    return str(name).lower().endswith(extension)


def _image_of(pixels):
    # Pillow shares no memory with RGB buffers: the pixels are copied in either way.
    return Image.frombytes("RGB", (pixels.width, pixels.height), pixels.tobytes())


class AniImageFile(ImageFile.ImageFile):
    format = "ORVANI"
    format_description = "animation file"

    def _open(self):
        if not _named(self, ".ani"):
            raise SyntaxError("not an animation file")
        # An animation file is read whole from wherever it comes; a memory file gives the
        # reader a path.
        data = self.fp.read()
        fd = os.memfd_create("orv-ani", os.MFD_CLOEXEC)
        try:
            os.write(fd, data)
            with orv.open(f"/proc/self/fd/{fd}", kind="animation") as ani:
                frames = ani[0].frames()
        finally:
            os.close(fd)
        self._frames = [frame for frame in frames if frame.pixels is not None]
        if not self._frames:
            raise SyntaxError("an animation without frames that are drawn")
        self.n_frames = len(self._frames)
        self.is_animated = self.n_frames > 1
        self.info["duration"] = orv.DEFAULT_FRAME_MS
        self.info["loop"] = 0
        self._current = 0
        self._show(0)

    def _show(self, index):
        pixels = self._frames[index].pixels
        self.im = _image_of(pixels).im
        self.mode = "RGB"
        self._size = (pixels.width, pixels.height)
        self.tile = []

    def seek(self, frame):
        if not self._seek_check(frame):
            return
        self._current = frame
        self._show(frame)

    def tell(self):
        return self._current

    def load(self):
        return Image.Image.load(self)


class CgImageFile(ImageFile.ImageFile):
    format = "ORVCG"
    format_description = "picture entry"

    def _open(self):
        if not _named(self, ".cg"):
            raise SyntaxError("not a picture entry")
        pixels = orv.decode_picture(self.fp.read())
        if not isinstance(pixels, orv.Pixels):
            raise SyntaxError("a picture of a type that is not drawn")
        self.im = _image_of(pixels).im
        self.mode = "RGB"
        self._size = (pixels.width, pixels.height)
        self.tile = []

    def load(self):
        return Image.Image.load(self)


Image.register_open(AniImageFile.format, AniImageFile)
Image.register_extension(AniImageFile.format, ".ani")
Image.register_open(CgImageFile.format, CgImageFile)
Image.register_extension(CgImageFile.format, ".cg")
