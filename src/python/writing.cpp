#include "python/writing.h"

#include <pybind11/functional.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <mutex>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/base/text.h"
#include "engine/format/archive_table.h"
#include "engine/format/sound_format.h"
#include "engine/read/archive.h"
#include "engine/read/reader.h"
#include "pack/archive/archive_file.h"
#include "pack/plan/entry_builder.h"
#include "pack/plan/entry_name.h"
#include "pack/files/pack_error.h"
#include "pack/job/pack_folder.h"
#include "pack/original/base_archive.h"
#include "pack/original/base_matcher.h"
#include "pack/original/folder_files.h"
#include "pack/files/picture_limits.h"
#include "pack/encode/sound_entry.h"
#include "python/bytes_like.h"
#include "python/errors.h"
#include "python/interrupt.h"
#include "python/settings.h"
#include "settings/settings_file.h"

namespace orv::python {

namespace py = pybind11;

namespace {

// work(stop) without the interpreter's lock, stop answering Ctrl-C: what stopping it
// throws (PackError) is raised as KeyboardInterrupt, and nothing it made is kept.
template <typename Work> auto Interruptible(Work&& work)
{
    Interrupt interrupt;
    try {
        const py::gil_scoped_release free;
        return work(interrupt.Stop());
    } catch (const pack::PackError&) {
        interrupt.Raise();
        throw;
    }
}

// An archive built in memory, entry by entry: on a base archive, whose entries stay byte
// for byte and in order unless replaced, or on none. Entries are encoded when added;
// write() copies what it keeps of the base from its file.
class ArchiveWriter {
public:
    ArchiveWriter(const std::optional<std::filesystem::path>& base, std::shared_ptr<const SettingsFile> settings,
                  bool quantize) :
        settings_(std::move(settings)),
        note_([this](const std::string& text) { notes_.push_back(text); }),
        builder_(quantize, note_, settings_.get())
    {
        if (base) AddBase(base->string());
        Reindex();
    }
    ArchiveWriter(const ArchiveWriter&) = delete;
    ArchiveWriter& operator=(const ArchiveWriter&) = delete;

    void AddPicture(const py::object& name, const py::buffer& pixels)
    {
        const std::string stored = StoredName(name, EntryKind::Picture);
        auto picture = std::make_shared<pack::Picture>(PictureOf(pixels, EscapeControlBytes(Cp932ToUtf8(stored))));
        pack::Source source{
            pack::SourceKind::Picture, Cp932ToUtf8(stored), {{}, Shown(stored), picture, {}}, {}, {}, 0};
        Put(Build(source, stored));
    }

    // Frames: pixels, bytes of a frame copied raw, or None for a frame that draws nothing.
    void AddAnimation(const py::object& name, const py::sequence& frames)
    {
        const std::string stored = StoredName(name, EntryKind::Animation);
        pack::Source source{pack::SourceKind::Frames, Cp932ToUtf8(stored), {}, {}, {}, 0};
        source.frameCount = static_cast<std::uint32_t>(frames.size());
        for (std::uint32_t number = 1; number <= source.frameCount; ++number) {
            if (PyErr_CheckSignals() != 0) throw py::error_already_set();
            const py::object frame = frames[number - 1];
            const std::string shown = Shown(stored) + " frame " + std::to_string(number);
            if (frame.is_none()) continue;
            if (py::isinstance<py::bytes>(frame)) {
                const auto bytes = frame.cast<std::string>();
                source.rawFrames[number]
                    = {{}, shown, nullptr, std::make_shared<const pack::Bytes>(bytes.begin(), bytes.end())};
            } else {
                source.frames[number] = {{}, shown, std::make_shared<const pack::Picture>(PictureOf(frame, shown)), {}};
            }
        }
        Put(Build(source, stored));
    }

    void AddSound(const py::object& name, const py::object& samples, std::uint32_t channels, std::uint32_t rate)
    {
        const std::string stored = StoredName(name, EntryKind::Sound);
        const std::optional<std::uint8_t> code = SoundCodeOf(channels, rate);
        if (!code)
            throw py::value_error("no sound format holds " + std::to_string(channels) + " channels at "
                                  + std::to_string(rate) + " Hz");
        // A replaced sound keeps the three bytes before its format code.
        std::array<std::uint8_t, 3> lead{};
        if (const auto found = leads_.find(stored); found != leads_.end()) lead = found->second;
        const std::string bytes = BytesLike(samples, "samples");
        pack::PlannedEntry entry{stored, Shown(stored), {}};
        entry.pieces.push_back(pack::Piece::Held(pack::SoundEntryHeader(*code, lead)));
        entry.pieces.push_back(pack::Piece::Held(pack::Bytes(bytes.begin(), bytes.end())));
        Put(std::move(entry));
    }

    void AddBytes(const py::object& name, const py::object& data)
    {
        const std::string stored = StoredName(name);
        const std::string bytes = BytesLike(data, "data");
        Put({stored, Shown(stored), {pack::Piece::Held(pack::Bytes(bytes.begin(), bytes.end()))}});
    }

    void Remove(const py::object& name)
    {
        const std::string stored = StoredName(name);
        const std::lock_guard<std::mutex> lock(mutex_);
        const std::optional<std::size_t> at = Find(stored);
        if (!at) throw py::key_error(py::repr(name).cast<std::string>());
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(*at));
        // An entry added again by this name is a new one.
        baseIndex_.erase(stored);
        replaced_.erase(stored);
        Reindex();
    }

    // The path written, as os.fsdecode gives it: a path that is not UTF-8 is written and
    // named all the same.
    py::str Write(const std::filesystem::path& path)
    {
        const std::string out = path.string();
        // Ctrl-C leaves no archive behind: the file is dropped before it is put in place.
        Interruptible([&](const pack::PackStop& stop) {
            const std::lock_guard<std::mutex> lock(mutex_);
            WriteLocked(out, stop);
        });
        return TextOf(out);
    }

    std::vector<py::bytes> Names() const
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        std::vector<py::bytes> names;
        names.reserve(entries_.size());
        for (const pack::PlannedEntry& entry : entries_) names.emplace_back(entry.name);
        return names;
    }

    // What was added and kept of the base, let go when a with block ends.
    void Release()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        entries_ = {};
        at_ = {};
    }

    std::size_t Count() const
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return entries_.size();
    }

    std::vector<std::string> Notes() const
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return notes_;
    }

private:
    void AddBase(const std::string& path)
    {
        auto input = std::make_shared<Input>();
        Input::Opened opened = Input::Opened::Yes;
        // An animation file by its name, as orvpack --base takes it; anything else an archive.
        const InputKind kind = InputKindOf(AsciiLower(FileNamePart(path))) == InputKind::Animation
            ? InputKind::Animation
            : InputKind::Archive;
        {
            const py::gil_scoped_release free;
            opened = input->Open(path, kind);
        }
        if (opened != Input::Opened::Yes)
            throw pack::PackError(EscapeControlBytes(path) + ": the base is no pack archive that can be read");
        basePath_ = path;
        Reader reader(input);
        for (const InputEntry& entry : reader.entries()) {
            const ArchiveEntry record = entry.Record();
            // A record that starts past the end of a file cut short reads as empty, and stays so.
            entries_.push_back(
                {std::string(record.Name()),
                 EscapeControlBytes(entry.shown),
                 {record.size == 0 ? pack::Piece::Held({}) : pack::Piece::FromFile(path, record.offset, record.size)}});
            baseIndex_.emplace(entries_.back().name, entry.index);
            if (entry.kind == EntryKind::Sound) {
                const std::vector<std::uint8_t> head = reader.Head(entry.index, 3);
                std::copy(head.begin(), head.end(), leads_[entries_.back().name].begin());
            }
        }
    }

    // Writes out under the lock: the animation file of the one entry for a name *.ani, else
    // the archive, with the base's animations that now find another canvas made anew.
    void WriteLocked(const std::string& out, const pack::PackStop& stop)
    {
        pack::CheckArchiveLimits(entries_, EscapeControlBytes(out));
        if (AsciiLower(FileNamePart(out)).ends_with(".ani")) {
            if (entries_.size() != 1)
                throw pack::PackError(EscapeControlBytes(out) + ": an animation file holds one animation, and "
                                      + std::to_string(entries_.size()) + " entries are planned");
            pack::WrittenFile(entries_[0].pieces, out, stop).Commit();
            return;
        }
        std::unique_ptr<pack::WrittenFile> written = pack::WriteArchiveUnplaced(entries_, out, stop);
        if (!basePath_.empty()) {
            // As orvpack does: a kept animation that now finds another canvas, left by an
            // entry replaced or removed before it, is made anew from the base's frames.
            pack::BaseArchive base(basePath_);
            base.SetSettings(settings_);
            pack::FolderFiles none({});
            pack::BaseMatcher matcher(base, none, builder_, note_, settings_, {}, stop);
            std::map<std::size_t, std::size_t> at;
            std::set<std::size_t> replaced;
            for (std::size_t p = 0; p < entries_.size(); ++p) {
                const auto found = baseIndex_.find(entries_[p].name);
                if (found == baseIndex_.end() || Find(entries_[p].name) != p) continue;
                at[found->second] = p;
                if (replaced_.count(entries_[p].name) != 0) replaced.insert(found->second);
            }
            matcher.Planned(std::move(at), replaced);
            while (matcher.RemakeDrawnOtherwise(written->ReadPath(), entries_)) {
                pack::CheckArchiveLimits(entries_, EscapeControlBytes(out));
                written.reset();
                written = pack::WriteArchiveUnplaced(entries_, out, stop);
            }
        }
        written->Commit();
    }

    // Ctrl-C between an animation's frames leaves the writer as it was.
    pack::PlannedEntry Build(const pack::Source& source, const std::string& stored)
    {
        return Interruptible([&](const pack::PackStop& stop) {
            const std::lock_guard<std::mutex> lock(mutex_);
            return builder_.Build(source, stored, {}, stop);
        });
    }

    // In place of the entry of the same name, or after all others.
    void Put(pack::PlannedEntry entry)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (baseIndex_.count(entry.name) != 0) replaced_.insert(entry.name);
        if (const std::optional<std::size_t> at = Find(entry.name)) {
            entries_[*at] = std::move(entry);
        } else {
            at_.emplace(entry.name, entries_.size());
            entries_.push_back(std::move(entry));
        }
    }

    std::optional<std::size_t> Find(const std::string& stored) const
    {
        const auto found = at_.find(stored);
        return found == at_.end() ? std::nullopt : std::optional<std::size_t>(found->second);
    }

    // Each name's place, after entries came or went other than at the end. A base archive
    // may hold a name twice: the first of them is the one replaced.
    void Reindex()
    {
        at_.clear();
        for (std::size_t i = 0; i < entries_.size(); ++i) at_.emplace(entries_[i].name, i);
    }

    static std::string Shown(const std::string& stored) { return EscapeControlBytes(Cp932ToUtf8(stored)); }

    // A name given as bytes is stored as it is; a str is read as orvconv-cli shows names.
    static std::string StoredName(const py::object& name)
    {
        std::optional<std::string> stored;
        if (py::isinstance<py::bytes>(name))
            stored = name.cast<std::string>();
        else if (py::isinstance<py::str>(name))
            stored = pack::EntryNameFor(name.cast<std::string>());
        else
            throw py::type_error("an entry name is bytes (as stored) or str (as shown)");
        if (!stored)
            throw py::value_error("the entry name " + py::repr(name).cast<std::string>()
                                  + " cannot be written in CP932");
        if (stored->empty() || stored->size() > kEntryNameBytes || stored->find('\0') != std::string::npos)
            throw py::value_error("the entry name " + py::repr(name).cast<std::string>()
                                  + " must take 1 to 16 bytes in CP932, none of them zero");
        return *stored;
    }

    // The stored name of an entry of kind: a name that would read back as another kind
    // (add_picture("x.png")) is refused, as conversion tells entries by their names.
    static std::string StoredName(const py::object& name, EntryKind kind)
    {
        std::string stored = StoredName(name);
        ArchiveEntry record;
        std::copy(stored.begin(), stored.end(), record.name);
        const EntryKind named = KindOf(record);
        if (named != kind)
            throw py::value_error("the entry name " + py::repr(name).cast<std::string>() + " reads back as "
                                  + EntryKindName(named) + ", not " + EntryKindName(kind));
        return stored;
    }

    // Pixels given through the buffer protocol as height x width x 3 bytes (red, green,
    // blue), laid out any way, as the encoder's blue, green, red rows.
    static pack::Picture PictureOf(const py::object& given, const std::string& shown)
    {
        const py::buffer_info info = py::reinterpret_borrow<py::buffer>(given).request();
        if (info.ndim != 3 || info.shape[2] != 3 || info.itemsize != 1 || info.format != "B")
            throw py::value_error(shown + ": pixels must be height x width x 3 bytes (uint8 red, green, blue)");
        pack::Picture picture = pack::BlankPicture(static_cast<std::uint64_t>(info.shape[1]),
                                                   static_cast<std::uint64_t>(info.shape[0]), shown);
        const auto* base = static_cast<const std::uint8_t*>(info.ptr);
        std::uint8_t* out = picture.bgr.data();
        for (py::ssize_t y = 0; y < info.shape[0]; ++y)
            for (py::ssize_t x = 0; x < info.shape[1]; ++x) {
                const std::uint8_t* pixel = base + y * info.strides[0] + x * info.strides[1];
                *out++ = pixel[2 * info.strides[2]];
                *out++ = pixel[info.strides[2]];
                *out++ = pixel[0];
            }
        return picture;
    }

    std::shared_ptr<const SettingsFile> settings_;
    std::vector<std::string> notes_;
    pack::EntryBuilder::Note note_;
    // The base's entries by stored name (the first of a name), as they are there, and
    // which of them were replaced.
    std::string basePath_;
    std::map<std::string, std::size_t> baseIndex_;
    std::set<std::string> replaced_;
    // The builder, its notes and the entries serve one thread at a time: encoding and
    // writing run without the interpreter's lock.
    mutable std::mutex mutex_;
    pack::EntryBuilder builder_;
    std::vector<pack::PlannedEntry> entries_;
    std::unordered_map<std::string, std::size_t> at_;
    std::map<std::string, std::array<std::uint8_t, 3>> leads_;
};

// orvpack's --animation: the way the folder's animations were converted, by name.
AnimationOutput PlayedAs(const std::string& animation)
{
    std::string names;
    for (const auto& [name, output] : AnimationOutputNames()) {
        if (name == animation) return output;
        names += (names.empty() ? "" : ", ") + name;
    }
    throw py::value_error("animation is one of " + names + ", not " + animation);
}

py::str PackFolderOf(const std::filesystem::path& folder, const std::optional<std::filesystem::path>& output,
                     const std::optional<std::filesystem::path>& base,
                     const std::optional<std::filesystem::path>& settings, bool quantize, bool dereference,
                     unsigned threads, const std::function<void(const std::string&)>& note,
                     const std::string& animation, bool verbose, const std::vector<std::string>& remove,
                     std::int32_t frameMs)
{
    if (frameMs < 1) throw py::value_error("frame_ms is at least 1");
    pack::PackOptions options;
    options.playedAs = PlayedAs(animation);
    options.frameMs = frameMs;
    options.verbose = verbose;
    options.remove = remove;
    options.folder = folder.string();
    options.output = output ? output->string() : std::string();
    options.base = base ? base->string() : std::string();
    options.settings = settings ? settings->string() : std::string();
    if (settings) CheckSettingsPath(options.settings, py::cast(*settings));
    options.quantize = quantize;
    options.dereference = dereference;
    options.threads = threads;
    // Ctrl-C abandons the archive: nothing is put in place.
    const std::string written = Interruptible([&](const pack::PackStop& stop) {
        options.stop = stop;
        return pack::PackFolder(options, [&note](const std::string& text) {
            if (!note) return;
            const py::gil_scoped_acquire held;
            // Called from orvpack's threads: what the callback raises is reported, not thrown
            // through them.
            try {
                note(text);
            } catch (py::error_already_set& raised) {
                raised.discard_as_unraisable("orv.pack_folder's note");
            }
        });
    });
    // As os.fsdecode gives it: a folder named otherwise than in UTF-8 is written and named all the same.
    return TextOf(written);
}

}  // namespace

void BindWriting(py::module_& m)
{
    py::class_<ArchiveWriter>(m, "Writer",
                              "A pack archive built entry by entry, as orvpack builds it. On a base archive "
                              "its entries stay byte for byte and in order unless replaced (added under their "
                              "name); new names come after. Names are bytes as stored or str as shown.")
        .def(py::init([](const std::optional<std::filesystem::path>& base, const py::object& settings, bool quantize) {
                 return std::make_unique<ArchiveWriter>(base, SettingsOf(settings), quantize);
             }),
             py::arg("base") = py::none(), py::arg("settings") = py::none(), py::arg("quantize") = false,
             "base: the archive to build on, or None; settings: an orv.Settings or the path of a settings file "
             "animations are composed with (as orvpack -s); quantize: reduce pictures of more than 128 colours instead "
             "of refusing them.")
        .def("add_picture", &ArchiveWriter::AddPicture, py::arg("name"), py::arg("pixels"),
             "A picture entry from height x width x 3 uint8 pixels (red, green, blue), given through the buffer "
             "protocol (numpy arrays, orv.Pixels; orv wraps Pillow images).")
        .def("add_animation", &ArchiveWriter::AddAnimation, py::arg("name"), py::arg("frames"),
             "An animation entry whose frames, drawn each over the one before, show these pictures in order; "
             "a frame given as bytes is copied raw, None draws nothing.")
        .def("add_sound", &ArchiveWriter::AddSound, py::arg("name"), py::arg("samples"), py::arg("channels"),
             py::arg("rate"), "A sound entry of 16-bit little-endian PCM samples.")
        .def("add_bytes", &ArchiveWriter::AddBytes, py::arg("name"), py::arg("data"), "An entry holding data.")
        .def("remove", &ArchiveWriter::Remove, py::arg("name"), "Leaves the entry of that name out.")
        .def("write", &ArchiveWriter::Write, py::arg("path"),
             "Writes the archive to path (under a temporary name, then put in place); returns the path. "
             "orv.PackError when it cannot be written.")
        .def_property_readonly("names", &ArchiveWriter::Names, "The entries' stored names, in order.")
        .def_property_readonly("notes", &ArchiveWriter::Notes, "What is worth telling, such as pictures reduced.")
        .def("__enter__", [](py::object writer) { return writer; })
        .def("__exit__", [](ArchiveWriter& writer, const py::args&) { writer.Release(); })
        .def("__repr__",
             [](const ArchiveWriter& writer) { return "<orv.Writer " + std::to_string(writer.Count()) + " entries>"; });

    m.def("pack_folder", &PackFolderOf, py::arg("folder"), py::arg("output") = py::none(), py::arg("base") = py::none(),
          py::arg("settings") = py::none(), py::arg("quantize") = false, py::arg("dereference") = false,
          py::arg("threads") = 0u, py::arg("note") = py::none(), py::arg("animation") = "frames",
          py::arg("verbose") = false, py::arg("remove") = std::vector<std::string>(), py::arg("frame_ms") = 100,
          "Builds an archive from a folder orvconv-cli wrote, as orvpack does, and returns its path "
          "(output, or FOLDER.dat beside the folder). base: the archive the folder came from, whose "
          "entries stay byte for byte unless their files changed; remove: names of its entries (as shown) "
          "left out. animation: how the folder's animations were converted (\"frames\", \"webp\", "
          "\"gif\", \"sheet\"), as orvpack --animation, frame_ms as its --frame-ms. verbose: a note for each entry "
          "named otherwise than "
          "its file suggests (orvpack -v). note(text) receives what orvpack tells.");
}

}  // namespace orv::python
