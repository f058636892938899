# SPDX-License-Identifier: GPL-3.0-or-later
"""Pack archives (.dat) and animation files (.ani) from Python.

Reading: orv.open(path) gives an orv.Input (a context manager) whose entries, by index,
stored name (bytes) or shown name (str), render exactly as conversion writes them:
entry.picture() (orv.Pixels: numpy.asarray gives height x width x 3 RGB without a
copy), entry.image() (a Pillow image), entry.frames(settings) (an iterator, composing
each frame as it is asked for), entry.sound(), entry.wav_bytes(), entry.data().

Writing: orv.Writer(base=...) builds an archive entry by entry as orvpack does,
keeping a base archive's other entries byte for byte; orv.pack_folder(folder, ...)
is orvpack on a folder orvconv-cli wrote.

With Pillow installed, importing orv registers the .ani format with Pillow
(see orv.pillow).
"""

import io as _io

from orv._orv import (  # noqa: F401
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
    __version__,
    decode_picture,
    open,
    pack_folder,
)

# What `from orv import *` brings: everything public but open, which would hide the
# built-in open.
__all__ = [
    "DEFAULT_FRAME_MS",
    "Entry",
    "EntryIterator",
    "Error",
    "Frame",
    "FrameIterator",
    "Input",
    "LimitError",
    "NotAnInputError",
    "PackError",
    "Pixels",
    "Settings",
    "SettingsError",
    "Sound",
    "Writer",
    "decode_picture",
    "pack_folder",
]


# Pillow reads bytes objects only: pixels go over in bands of this many bytes, so that no
# second whole copy of them is made.
_BAND_BYTES = 1 << 24


def _check_pillow_size(what, width, height):
    """orv.Error where Pillow would hold more pixels than it takes for one image
    (PIL.Image.MAX_IMAGE_PIXELS, beyond which it takes a file for a decompression bomb)."""
    from PIL import Image

    limit = Image.MAX_IMAGE_PIXELS
    if limit is not None and width * height > limit:
        raise Error(f"{what}: {width} x {height} pixels, more than PIL.Image.MAX_IMAGE_PIXELS ({limit})")


def _image_of(pixels, what):
    from PIL import Image

    _check_pillow_size(what, pixels.width, pixels.height)
    image = Image.new("RGB", (pixels.width, pixels.height))
    if pixels.width == 0 or pixels.height == 0:
        return image
    row = pixels.width * 3
    rows = max(1, _BAND_BYTES // row)
    flat = memoryview(pixels).cast("B")
    for top in range(0, pixels.height, rows):
        band = flat[top * row : (top + rows) * row]
        image.paste(Image.frombytes("RGB", (pixels.width, len(band) // row), band.tobytes()), (0, top))
    return image


def _entry_image(entry):
    """The entry taken as a picture, as a Pillow image (mode RGB); None where conversion
    draws nothing for it. orv.Error for a picture conversion copies raw, and, before it is
    drawn, for one larger than PIL.Image.MAX_IMAGE_PIXELS."""
    if entry.picture_size is not None:
        _check_pillow_size(entry.shown, *entry.picture_size)
    picture = entry.picture()
    if picture is None:
        return None
    if isinstance(picture, bytes):
        raise Error(f"{entry.shown}: a picture of a type that is not drawn (conversion copies its bytes)")
    return _image_of(picture, entry.shown)


class _EntryFile(_io.RawIOBase):
    """An entry's bytes as a read-only binary file, read from the input where asked."""

    def __init__(self, entry):
        super().__init__()
        self._entry = entry
        self._position = 0
        self.name = entry.shown

    def readable(self):
        return True

    def seekable(self):
        return True

    def readinto(self, buffer):
        with memoryview(buffer) as view:
            got = self._entry._read_into(self._position, view.cast("B"))
        self._position += got
        return got

    def seek(self, offset, whence=_io.SEEK_SET):
        base = {_io.SEEK_SET: 0, _io.SEEK_CUR: self._position, _io.SEEK_END: self._entry.size}[whence]
        if base + offset < 0:
            raise ValueError(f"negative seek position {base + offset}")
        self._position = base + offset
        return self._position

    def tell(self):
        return self._position


def _entry_open(entry):
    """The entry's bytes as a binary file object (io.BufferedReader), read from the input
    as they are asked for, never whole, as ZipFile.open gives a member's."""
    return _io.BufferedReader(_EntryFile(entry))


def _frame_image(frame):
    """The frame as a Pillow image (mode RGB); None for a frame copied raw."""
    return None if frame.pixels is None else _image_of(frame.pixels, f"frame {frame.number}")


def _pixels_of(picture):
    """Pixels for the writer: a Pillow image as RGB bytes shaped height x width x 3;
    anything else as given (numpy arrays, orv.Pixels, memoryviews)."""
    if hasattr(picture, "convert") and hasattr(picture, "tobytes") and hasattr(picture, "size"):
        width, height = picture.size
        return memoryview(picture.convert("RGB").tobytes()).cast("B", (height, width, 3))
    return picture


def _wrap_writer():
    add_picture = Writer.add_picture
    add_animation = Writer.add_animation

    def picture(self, name, pixels):
        return add_picture(self, name, _pixels_of(pixels))

    def animation(self, name, frames):
        return add_animation(self, name, [f if f is None or isinstance(f, bytes) else _pixels_of(f) for f in frames])

    picture.__doc__ = add_picture.__doc__
    animation.__doc__ = add_animation.__doc__
    _method(Writer, "add_picture", picture)
    _method(Writer, "add_animation", animation)


def _method(cls, name, function):
    """function as cls.name, named as a method of the class is (help(), reprs, tracebacks)."""
    function.__name__ = name
    function.__qualname__ = f"{cls.__name__}.{name}"
    setattr(cls, name, function)


_method(Entry, "image", _entry_image)
_method(Entry, "open", _entry_open)
_method(Frame, "image", _frame_image)
_wrap_writer()

try:
    from orv import pillow  # noqa: F401
except ImportError:
    pillow = None
