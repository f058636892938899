#include "python/reading.h"

#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/convert/batch_options.h"
#include "engine/base/text.h"
#include "engine/format/frame_table.h"
#include "engine/format/wave_header.h"
#include "engine/read/archive.h"
#include "python/errors.h"
#include "python/export.h"
#include "python/input_handle.h"
#include "python/pixels.h"
#include "python/settings.h"

namespace orv::python {

namespace py = pybind11;

namespace {

struct Entry {
    std::shared_ptr<InputHandle> input;
    std::size_t index = 0;

    const InputEntry& info() const { return input->entries()[index]; }
};

struct EntryIterator {
    std::shared_ptr<InputHandle> input;
    std::size_t next = 0;
};

struct Frame {
    std::uint32_t number = 0;
    py::object pixels;
    py::object data;
};

// A frame drawn and not yet handed out: its pixels, or for a frame copied raw the bytes
// object handed out, already filled.
struct DrawnFrame {
    std::uint32_t number = 0;
    RgbImage image;
    py::object data;
};

// The frames of an animation entry, composed one at a time as they are asked for, on the
// entry's bytes and a canvas of the iterator's own: it goes on after the input is closed.
struct FrameIterator {
    std::shared_ptr<InputHandle> input;
    std::size_t index = 0;
    // Null once through, or after an error.
    std::shared_ptr<FrameCursor> cursor;
    // One next() at a time: it draws without the interpreter's lock.
    std::shared_ptr<std::mutex> drawing = std::make_shared<std::mutex>();
    // Drawn and not yet handed out (a raw base and its frame come together); touched only
    // with the interpreter's lock held.
    std::deque<DrawnFrame> pending;
    std::uint32_t shown = 0;
};

struct Sound {
    SoundFormat format;
    py::bytes samples;
};

std::optional<InputKind> InputKindNamed(const std::optional<std::string>& name)
{
    if (!name) return std::nullopt;
    if (*name == "archive") return InputKind::Archive;
    if (*name == "animation") return InputKind::Animation;
    throw py::value_error("kind must be \"archive\", \"animation\" or None");
}

std::size_t IndexOf(const InputHandle& input, py::ssize_t index)
{
    const auto count = static_cast<py::ssize_t>(input.entries().size());
    if (index < 0) index += count;
    if (index < 0 || index >= count) throw py::index_error("entry index out of range");
    return static_cast<std::size_t>(index);
}

Entry EntryAt(const std::shared_ptr<InputHandle>& input, const py::object& key)
{
    // Anything that is an integer to Python (numpy's integers too), as list indices are.
    if (!py::isinstance<py::str>(key) && !py::isinstance<py::bytes>(key) && PyIndex_Check(key.ptr()) != 0) {
        const auto index = py::reinterpret_steal<py::int_>(PyNumber_Index(key.ptr()));
        if (!index) throw py::error_already_set();
        return {input, IndexOf(*input, index.cast<py::ssize_t>())};
    }
    std::optional<std::size_t> found;
    if (py::isinstance<py::bytes>(key))
        found = input->FindStored(key.cast<std::string>());
    else if (py::isinstance<py::str>(key))
        found = input->FindShown(key.cast<std::string>());
    else
        throw py::type_error("an entry is found by its index (int), stored name (bytes) or shown name (str)");
    if (!found) throw py::key_error(py::repr(key).cast<std::string>());
    return {input, *found};
}

// Entries are read in pieces of this many bytes: a Ctrl-C is answered between them.
constexpr std::uint64_t kPieceBytes = std::uint64_t{16} << 20;

template <typename Work> auto ReadEntry(const Entry& entry, Work&& work)
{
    return entry.input->Read(entry.index, std::forward<Work>(work));
}

// Up to n bytes of the entry from position into destination, at most a piece: what the
// file holds for it, read where it lies; 0 at the end.
std::uint64_t ReadInto(const Entry& entry, std::uint64_t position, char* destination, std::uint64_t n)
{
    const std::uint64_t size = entry.info().size;
    if (position >= size) return 0;
    const auto count = static_cast<std::uint32_t>(std::min({n, size - position, kPieceBytes}));
    if (count == 0) return 0;
    ReadEntry(entry, [&](Reader& reader) {
        const Input& input = reader.input();
        input.file().ReadAt(input.OffsetOf(reader.entries()[entry.index]) + position, destination, count);
        return count;
    });
    return count;
}

// TypeError for an entry read as a kind its name does not give, unless asked for.
void CheckKind(const Entry& entry, EntryKind wanted, bool anyKind)
{
    const EntryKind kind = entry.info().kind;
    if (anyKind || kind == wanted) return;
    throw py::type_error(
        py::str("{}: {}: kind '{}', not '{}' (any_kind=True reads it as one all the same)")
            .format(TextOf(entry.input->path()), entry.info().shown, EntryKindName(kind), EntryKindName(wanted))
            .cast<std::string>());
}

// orv.LimitError, before anything is read, for an entry larger than a whole read may take.
void CheckEntrySize(const Entry& entry)
{
    const std::uint64_t limit = entry.input->limits().entryBytes;
    if (entry.info().size > limit) ThrowLimit(entry.input->path(), entry.info().shown, entry.info().size, limit);
}

EntryDetails DetailsOf(const Entry& entry)
{
    return ReadEntry(entry, [&](Reader& reader) { return reader.Details(entry.index); });
}

// Headers lying this close together are read in one piece where enough of them do.
constexpr std::uint32_t kHeaderSpan = 4096;
constexpr std::size_t kHeadersPerSpan = 64;

// The (width, height) of each frame of an animation entry that is drawn, composed without
// settings, from the frames' headers alone, nothing drawn: what the Pillow format tells
// before anything is drawn. Pairs of unsigned 32-bit integers in the machine's order
// (memoryview's "I"), in frame order. Each header is read
// once, however many frames share it, and headers crowded together in one piece, so that
// what is read stays within what the entry holds. orv.Error for a frame table longer than
// the entry: it claims frames the file cannot hold.
py::bytes FrameSizesOf(const Entry& entry)
{
    CheckKind(entry, EntryKind::Animation, false);
    CheckEntrySize(entry);
    std::string lie;
    const std::vector<std::uint32_t> sizes = ReadEntry(entry, [&](Reader& reader) {
        const Input& input = reader.input();
        const InputEntry& read = reader.entries()[entry.index];
        const std::uint64_t size = input.SizeOf(read);
        const std::uint64_t at = input.OffsetOf(read);
        std::uint8_t first[4] = {};
        input.file().ReadAt(at, first, static_cast<std::uint32_t>(std::min<std::uint64_t>(size, sizeof first)));
        if (FrameTableBytes(first) > size) {
            lie = "its frame table claims " + std::to_string(FrameTableBytes(first) / sizeof first)
                + " frames, more than its " + std::to_string(size) + " bytes hold";
            return std::vector<std::uint32_t>();
        }
        const std::vector<std::uint32_t> offsets = reader.FrameOffsets(entry.index);
        std::vector<std::uint32_t> distinct;
        for (const std::uint32_t offset : offsets)
            if (offset < size) distinct.push_back(offset);
        std::sort(distinct.begin(), distinct.end());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        std::vector<PictureHeader> headers;
        headers.reserve(distinct.size());
        std::vector<std::uint8_t> piece;
        for (std::size_t j = 0; j < distinct.size();) {
            std::size_t end = j + 1;
            while (end < distinct.size() && distinct[end] - distinct[j] + kPictureHeaderBytes <= kHeaderSpan) ++end;
            if (end - j < kHeadersPerSpan) end = j + 1;
            const std::uint32_t from = distinct[j];
            const std::uint64_t to
                = std::min<std::uint64_t>(std::uint64_t{distinct[end - 1]} + kPictureHeaderBytes, size);
            piece.assign(to - from, 0);
            input.file().ReadAt(at + from, piece.data(), static_cast<std::uint32_t>(piece.size()));
            for (; j < end; ++j) {
                const std::uint32_t within = distinct[j] - from;
                headers.push_back(
                    ReadPictureHeader(piece.data() + within, static_cast<std::uint32_t>(piece.size()) - within));
            }
        }
        std::vector<std::uint32_t> out;
        for (const std::uint32_t offset : offsets) {
            if (offset >= size) continue;
            const auto found = std::lower_bound(distinct.begin(), distinct.end(), offset);
            const PictureHeader& header = headers[static_cast<std::size_t>(found - distinct.begin())];
            if (ActionOf(header) != PictureAction::Drawn) continue;
            out.push_back(header.width);
            out.push_back(header.height);
        }
        return out;
    });
    if (!lie.empty()) ThrowInputError(entry.input->path(), entry.info().shown, lie);
    return {reinterpret_cast<const char*>(sizes.data()), sizes.size() * sizeof sizes[0]};
}

// The entry's bytes read straight into the bytes object returned, a piece at a time: no
// second copy is held, and Ctrl-C stops it between pieces.
py::bytes DataOf(const Entry& entry)
{
    CheckEntrySize(entry);
    const std::uint64_t size = entry.info().size;
    auto bytes = py::reinterpret_steal<py::bytes>(PyBytes_FromStringAndSize(nullptr, static_cast<py::ssize_t>(size)));
    if (!bytes) throw py::error_already_set();
    char* out = PyBytes_AS_STRING(bytes.ptr());
    for (std::uint64_t done = 0; done < size;) {
        if (PyErr_CheckSignals() != 0) throw py::error_already_set();
        done += ReadInto(entry, done, out + done, size - done);
    }
    return bytes;
}

py::object PictureOf(const Entry& entry, bool anyKind)
{
    CheckKind(entry, EntryKind::Picture, anyKind);
    CheckEntrySize(entry);
    const PictureHeader header = DetailsOf(entry).picture;
    const std::uint64_t pixels = std::uint64_t{header.width} * header.height * 3;
    if (ActionOf(header) == PictureAction::Drawn && pixels > entry.input->limits().pictureBytes)
        ThrowLimit(entry.input->path(), entry.info().shown, pixels, entry.input->limits().pictureBytes);
    switch (ActionOf(header)) {
    // A type conversion copies as it is: the entry's bytes, read straight into the bytes
    // returned rather than held by the reader and copied twice.
    case PictureAction::Raw: return DataOf(entry);
    case PictureAction::Skipped: return py::none();
    case PictureAction::Drawn: break;
    }
    const ReaderStop stop = entry.input->Stop();
    RenderedPicture picture = ReadEntry(entry, [&](Reader& reader) { return reader.Picture(entry.index, stop); });
    return py::cast(Pixels{std::move(picture.image)});
}

// The reader keeps the settings it composes with, and what it drew with them, while the
// same settings come again (the same file read anew included): animations read in order
// are then each drawn once, as conversion draws them.
void ComposeWith(Reader& reader, std::shared_ptr<const SettingsFile> composing)
{
    const std::shared_ptr<const SettingsFile>& kept = reader.settings();
    if (!(kept && composing && kept->SameAs(*composing))) reader.SetSettings(std::move(composing));
}

std::vector<RenderedFrame> RenderedFramesOf(const Entry& entry, const py::object& settings, bool anyKind)
{
    CheckKind(entry, EntryKind::Animation, anyKind);
    CheckEntrySize(entry);
    std::shared_ptr<const SettingsFile> composing = SettingsOf(settings);
    const ReaderStop stop = entry.input->Stop();
    // The frames held at once are what the limit counts; how many more are to come is not
    // known.
    return entry.input->Read(
        entry.index,
        [&](Reader& reader) {
            ComposeWith(reader, std::move(composing));
            return reader.Animation(entry.index, stop);
        },
        entry.input->limits().heldBytes);
}

FrameIterator FramesOf(const Entry& entry, const py::object& settings, bool anyKind)
{
    CheckKind(entry, EntryKind::Animation, anyKind);
    CheckEntrySize(entry);
    std::shared_ptr<const SettingsFile> composing = SettingsOf(settings);
    const ReaderStop stop = entry.input->Stop();
    std::optional<FrameCursor> cursor = entry.input->Read(entry.index, [&](Reader& reader) {
        ComposeWith(reader, std::move(composing));
        return reader.Cursor(entry.index, stop);
    });
    FrameIterator frames;
    frames.input = entry.input;
    frames.index = entry.index;
    frames.cursor = std::make_shared<FrameCursor>(std::move(*cursor));
    return frames;
}

// A frame as DrawNext keeps it, called without the interpreter's lock: pixels turned to
// red, green, blue; a raw frame's bytes copied once, straight into the bytes object
// handed out (made with the lock, filled without it).
void Keep(const FrameView& view, std::vector<DrawnFrame>& drawn)
{
    if (view.action == PictureAction::Drawn) {
        drawn.push_back({view.number, RenderedOf(view).image, {}});
        return;
    }
    char* out = nullptr;
    {
        const py::gil_scoped_acquire held;
        auto bytes
            = py::reinterpret_steal<py::bytes>(PyBytes_FromStringAndSize(nullptr, static_cast<py::ssize_t>(view.size)));
        if (!bytes) throw py::error_already_set();
        out = PyBytes_AS_STRING(bytes.ptr());
        drawn.push_back({view.number, {}, std::move(bytes)});
    }
    std::memcpy(out, view.bytes, view.size);
}

// Draws the next frames shown into frames.pending; none at the end.
void DrawNext(FrameIterator& frames)
{
    const std::shared_ptr<FrameCursor> cursor = frames.cursor;
    if (!cursor) return;
    const ReaderStop stop = frames.input->Stop();
    std::vector<DrawnFrame> drawn;
    try {
        frames.input->Raising(
            frames.index,
            [&] {
                const py::gil_scoped_release free;
                const std::lock_guard<std::mutex> lock(*frames.drawing);
                return cursor->Next([&](const FrameView& view) { Keep(view, drawn); }, stop);
            },
            frames.input->limits().pictureBytes);
    } catch (py::error_already_set& raised) {
        // Ctrl-C leaves the iterator where it was; an error ends it.
        if (!raised.matches(PyExc_KeyboardInterrupt)) frames.cursor = nullptr;
        throw;
    }
    if (drawn.empty()) {
        // Through: the canvas goes back to the reader, for the entries after this one.
        frames.cursor = nullptr;
        frames.input->IfOpen([&](Reader& reader) { reader.Finish(*cursor); });
    }
    for (DrawnFrame& frame : drawn) frames.pending.push_back(std::move(frame));
}

Frame NextFrame(FrameIterator& frames)
{
    if (frames.pending.empty()) DrawNext(frames);
    if (frames.pending.empty()) throw py::stop_iteration();
    DrawnFrame drawn = std::move(frames.pending.front());
    frames.pending.pop_front();
    ++frames.shown;
    if (drawn.data) return {drawn.number, py::none(), std::move(drawn.data)};
    return {drawn.number, py::cast(Pixels{std::move(drawn.image)}), py::none()};
}

// The sound entry's samples read straight into a bytes object, made once the engine
// tells their length: header bytes before them (left for the caller) and the samples.
// Ctrl-C stops the read between pieces.
std::pair<SoundFormat, py::bytes> SoundOf(const Entry& entry, bool anyKind, std::size_t header)
{
    CheckKind(entry, EntryKind::Sound, anyKind);
    CheckEntrySize(entry);
    const std::uint8_t code = DetailsOf(entry).soundCode;
    const std::string reason
        = SoundFormatOf(code) ? "" : "sound format code " + std::to_string(code) + " is none of 6, 7 and 10";
    const ReaderStop stop = entry.input->Stop();
    SoundFormat format;
    // Let go with the interpreter held, whatever ends the read.
    py::bytes made;
    entry.input->Read(
        entry.index,
        [&](Reader& reader) {
            return reader.SoundInto(
                entry.index,
                [&](const SoundFormat& read, std::uint32_t bytes) {
                    format = read;
                    const py::gil_scoped_acquire held;
                    PyObject* object = PyBytes_FromStringAndSize(nullptr, static_cast<py::ssize_t>(header + bytes));
                    if (object == nullptr) {
                        PyErr_Clear();
                        throw FatalError::OutOfMemory();
                    }
                    made = py::reinterpret_steal<py::bytes>(object);
                    return reinterpret_cast<std::uint8_t*>(PyBytes_AS_STRING(object)) + header;
                },
                stop);
        },
        0, reason);
    return {format, std::move(made)};
}

py::bytes WaveOf(const Entry& entry, bool anyKind)
{
    auto [format, wave] = SoundOf(entry, anyKind, kWaveHeaderBytes);
    auto* out = reinterpret_cast<std::uint8_t*>(PyBytes_AS_STRING(wave.ptr()));
    FillWaveHeader(out, format, static_cast<std::uint32_t>(py::len(wave) - kWaveHeaderBytes));
    return wave;
}

void BindEntryResults(py::module_& m)
{
    py::class_<Frame>(m, "Frame", "One frame of an animation as conversion writes it.")
        .def_readonly("number", &Frame::number, "The frame's number, from 1.")
        .def_readonly("pixels", &Frame::pixels, "orv.Pixels of the composed frame; None for a frame copied raw.")
        .def_readonly("data", &Frame::data, "For a frame copied raw: its bytes; else None.")
        .def("__repr__", [](const Frame& frame) {
            return "<orv.Frame " + std::to_string(frame.number) + (frame.data.is_none() ? "" : " raw") + ">";
        });
    py::class_<Sound>(m, "Sound", "A sound entry's 16-bit little-endian PCM samples and their format.")
        .def_property_readonly(
            "channels", [](const Sound& sound) { return sound.format.channels; }, "1 or 2.")
        .def_property_readonly(
            "rate", [](const Sound& sound) { return sound.format.rate; }, "Sample frames a second.")
        .def("__repr__",
             [](const Sound& sound) {
                 return "<orv.Sound " + std::to_string(sound.format.channels) + " x "
                     + std::to_string(sound.format.rate) + " Hz, " + std::to_string(py::len(sound.samples)) + " bytes>";
             })
        .def_property_readonly(
            "block_align", [](const Sound& sound) { return sound.format.blockAlign; }, "Bytes of one sample frame.")
        .def_readonly("samples", &Sound::samples, "The PCM bytes, interleaved for stereo.");
}

void BindFrameIterator(py::module_& m)
{
    py::class_<FrameIterator>(m, "FrameIterator",
                              "The frames of an animation entry (entry.frames()), composed as they are asked for.")
        .def("__iter__", [](FrameIterator& frames) -> FrameIterator& { return frames; })
        .def("__next__", &NextFrame)
        .def("__repr__", [](const FrameIterator& frames) {
            return "<orv.FrameIterator of "
                + py::repr(py::str(frames.input->entries()[frames.index].shown)).cast<std::string>() + ", "
                + std::to_string(frames.shown) + " shown"
                + (frames.cursor || !frames.pending.empty() ? "" : ", through") + ">";
        });
}

void BindEntry(py::module_& m)
{
    py::class_<Entry>(m, "Entry", "One entry of an input. Its methods read the file; its names do not.")
        .def_property_readonly(
            "index", [](const Entry& entry) { return entry.index; }, "The entry's place in the table, from 0.")
        .def_property_readonly(
            "name", [](const Entry& entry) { return py::bytes(std::string(entry.info().stored.Name())); },
            "The name as stored (CP932 bytes).")
        .def_property_readonly(
            "shown", [](const Entry& entry) { return entry.info().shown; },
            "The name as orvconv-cli shows it: UTF-8, with %XX for bytes that do not convert and for a "
            "'%' that would read as such.")
        .def_property_readonly(
            "kind", [](const Entry& entry) { return EntryKindName(entry.info().kind); },
            "\"picture\", \"animation\", \"sound\" or \"other\", by the name's last three bytes.")
        .def_property_readonly(
            "offset", [](const Entry& entry) { return entry.info().stored.offset; },
            "Where the entry starts in the file, as the table gives it.")
        .def_property_readonly(
            "size", [](const Entry& entry) { return entry.info().size; },
            "The bytes the file holds for the entry (its stored size cut to the file).")
        .def_property_readonly(
            "stored_size", [](const Entry& entry) { return entry.info().stored.size; }, "The size the table gives.")
        .def_property_readonly(
            "past_end", [](const Entry& entry) { return entry.info().pastEnd; },
            "Whether the file ends before this record or the bytes it claims; what is missing reads as zeros.")
        .def_property_readonly(
            "picture_size",
            [](const Entry& entry) -> py::object {
                if (entry.info().kind != EntryKind::Picture) return py::none();
                const PictureHeader header = DetailsOf(entry).picture;
                return py::make_tuple(header.width, header.height);
            },
            "A picture's (width, height) from its header; None for other kinds.")
        .def_property_readonly(
            "frame_count",
            [](const Entry& entry) -> py::object {
                if (entry.info().kind != EntryKind::Animation) return py::none();
                return py::int_(DetailsOf(entry).frames);
            },
            "An animation's frame count from its table; None for other kinds.")
        .def_property_readonly(
            "sound_format",
            [](const Entry& entry) -> py::object {
                if (entry.info().kind != EntryKind::Sound) return py::none();
                const std::optional<SoundFormat> format = SoundFormatOf(DetailsOf(entry).soundCode);
                if (!format) return py::none();
                return py::make_tuple(format->channels, format->rate);
            },
            "A sound's (channels, rate); None for other kinds and unknown format codes.")
        .def("data", &DataOf, "The entry's bytes as conversion reads them.")
        .def(
            "save",
            [](const Entry& entry, const std::filesystem::path& path, const std::string& format,
               const py::object& settings, std::int32_t frameMs, std::int32_t columns) {
                std::vector<RenderedFrame> frames = RenderedFramesOf(entry, settings, false);
                const std::string out = path.string();
                const ReaderStop stop = entry.input->Stop();
                {
                    const py::gil_scoped_release free;
                    SaveAnimation(std::move(frames), out, format, {frameMs, columns}, stop);
                }
                entry.input->RaiseInterrupt();
            },
            py::arg("path"), py::arg("format"), py::arg("settings") = py::none(),
            py::arg("frame_ms") = BatchOptions{}.frameMs, py::arg("columns") = BatchOptions{}.sheetColumns,
            "Writes the animation entry as orvconv-cli --animation does, byte for byte: format \"webp\" "
            "(lossless) or \"gif\", one looping file, each frame shown frame_ms milliseconds; \"sheet\", a "
            "PNG sprite sheet of columns frames a row (0: the frame count, at most 16) at path, and its JSON "
            "index at path ending in .json. Frames copied raw are not written. Under temporary names, then "
            "put in place; nothing is left after Ctrl-C.")
        .def("_frame_sizes", &FrameSizesOf,
             "The (width, height) of each frame of the animation entry that is drawn without settings, from "
             "the headers alone, as pairs of unsigned 32-bit integers (memoryview's \"I\"); what the Pillow format "
             "tells before anything "
             "is drawn. orv.Error for a frame table longer than the entry.")
        .def(
            "_read_into",
            [](const Entry& entry, std::uint64_t position, const py::buffer& into) {
                const py::buffer_info info = into.request(true);
                if (PyBuffer_IsContiguous(info.view(), 'C') == 0) throw py::type_error("a contiguous buffer is needed");
                return ReadInto(entry, position, static_cast<char*>(info.ptr),
                                static_cast<std::uint64_t>(info.size * info.itemsize));
            },
            "Reads the entry's bytes from position into a writable buffer, as many as fit; how many (0 at "
            "the end). What entry.open() reads through.")
        .def("picture", &PictureOf, py::kw_only(), py::arg("any_kind") = false,
             "The picture entry as conversion writes it: orv.Pixels when drawn, bytes when copied raw (a "
             "type that is not drawn), None when passed over (type 1). TypeError for another kind of entry "
             "unless any_kind.")
        .def("frames", &FramesOf, py::arg("settings") = py::none(), py::kw_only(), py::arg("any_kind") = false,
             "The animation entry's frames: an iterator of orv.Frame, composed exactly as conversion writes "
             "them, one at a time as they are asked for (settings: an orv.Settings, a path of a settings "
             "file, or None). It holds the entry's bytes and a canvas of its own, and goes on after the "
             "input is closed; list(entry.frames()) holds them all. TypeError for another kind of entry "
             "unless any_kind.")
        .def(
            "sound",
            [](const Entry& entry, bool anyKind) {
                auto [format, samples] = SoundOf(entry, anyKind, 0);
                return Sound{format, std::move(samples)};
            },
            py::kw_only(), py::arg("any_kind") = false,
            "The sound entry: an orv.Sound; orv.Error for an unknown format code. TypeError for another kind "
            "of entry unless any_kind.")
        .def("wav_bytes", &WaveOf, py::kw_only(), py::arg("any_kind") = false,
             "The WAV file conversion writes for the sound entry; TypeError for another kind unless any_kind.")
        .def("__repr__", [](const Entry& entry) {
            return "<orv.Entry " + std::to_string(entry.index) + " "
                + py::repr(py::str(entry.info().shown)).cast<std::string>() + " " + EntryKindName(entry.info().kind)
                + ">";
        });
}

void BindInput(py::module_& m)
{
    py::class_<EntryIterator>(m, "EntryIterator", "The entries of an input (iter(input)), in order.")
        .def("__iter__", [](EntryIterator& it) -> EntryIterator& { return it; })
        .def("__next__",
             [](EntryIterator& it) {
                 if (it.next >= it.input->entries().size()) throw py::stop_iteration();
                 return Entry{it.input, it.next++};
             })
        .def("__repr__", [](const EntryIterator& it) {
            return "<orv.EntryIterator of " + py::repr(TextOf(it.input->path())).cast<std::string>() + ", "
                + std::to_string(it.next) + " of " + std::to_string(it.input->entries().size()) + " passed>";
        });

    py::class_<InputHandle, std::shared_ptr<InputHandle>>(
        m, "Input", "An opened pack archive or animation file (a context manager); its entries by index or name.")
        .def_property_readonly(
            "path", [](const InputHandle& input) { return TextOf(input.path()); },
            "The path it was opened with, as os.fsdecode gives it.")
        .def_property_readonly(
            "kind",
            [](const InputHandle& input) { return input.kind() == InputKind::Animation ? "animation" : "archive"; },
            "\"archive\" or \"animation\".")
        .def_property_readonly(
            "past_end",
            [](const InputHandle& input) {
                for (const InputEntry& entry : input.entries())
                    if (entry.pastEnd) return true;
                return false;
            },
            "Whether the header, the table or an entry reaches past the end of the file.")
        .def_property_readonly("closed", &InputHandle::closed, "Whether close() was called.")
        .def("close", &InputHandle::Close, "Closes the file; entries keep their names but can no longer be read.")
        .def("__enter__", [](const std::shared_ptr<InputHandle>& input) { return input; })
        .def("__exit__", [](InputHandle& input, const py::args&) { input.Close(); })
        .def("__len__", [](const InputHandle& input) { return input.entries().size(); })
        .def("__getitem__", &EntryAt,
             "The entry of this index, of this stored name (bytes) or shown name (str); the first of that name.")
        .def("__contains__",
             [](const std::shared_ptr<InputHandle>& input, const py::object& key) {
                 try {
                     EntryAt(input, key);
                     return true;
                 } catch (const py::key_error&) {
                     return false;
                 } catch (const py::index_error&) {
                     return false;
                 }
             })
        .def("__iter__",
             [](const std::shared_ptr<InputHandle>& input) {
                 return EntryIterator{input, 0};
             })
        .def("__repr__", [](const InputHandle& input) {
            return "<orv.Input " + py::repr(TextOf(input.path())).cast<std::string>() + " "
                + std::to_string(input.entries().size()) + " entries" + (input.closed() ? " closed" : "") + ">";
        });

    m.def(
        "open",
        [](const py::object& source, const std::optional<std::string>& kind,
           const std::optional<std::filesystem::path>& name) {
            if (!py::hasattr(source, "read"))
                return std::make_shared<InputHandle>(source.cast<std::filesystem::path>().string(),
                                                     InputKindNamed(kind), source);
            // A file object: named as given, else by its own name, else by the kind asked for;
            // names as os.fsencode takes them.
            std::string named = name ? name->string() : "";
            const py::object own = py::getattr(source, "name", py::none());
            if (named.empty() && (py::isinstance<py::str>(own) || py::isinstance<py::bytes>(own)))
                named = own.cast<std::filesystem::path>().string();
            if (named.empty()) named = kind == "animation" ? "input.ani" : "input.dat";
            const std::optional<InputKind> taken = InputKindNamed(kind);
            return std::make_shared<InputHandle>(source, named,
                                                 taken.value_or(InputKindOf(AsciiLower(FileNamePart(named)))));
        },
        py::arg("source"), py::arg("kind") = py::none(), py::arg("name") = py::none(),
        "Opens a pack archive (.dat starting with \"pack\") or an animation file (.ani) at a path, by the "
        "name's extension, or taken for kind (\"archive\" or \"animation\") whatever its name. source may "
        "also be a binary file object (io.BytesIO, an open file), read where entries ask, never whole; "
        "it is named name, else by its own name, as a file would be (an animation file's name is its "
        "entry's, which settings sections name). OSError when it cannot be opened, orv.NotAnInputError "
        "when it is no input, both with orvconv-cli's texts.");
}

}  // namespace

void BindReading(py::module_& m)
{
    m.attr("DEFAULT_FRAME_MS") = BatchOptions{}.frameMs;
    BindEntryResults(m);
    BindFrameIterator(m);
    BindEntry(m);
    BindInput(m);
}

}  // namespace orv::python
