// The engine as the page's worker calls it (embind): an input opened once from what the
// worker reads of a browser File (piece by piece, never whole), its entries, any entry
// rendered into memory as conversion writes it, and conversion of the chosen entries of
// that same input into a folder of the worker's file system. Engine errors come back as
// { error: text }: a C++ exception must not cross into JavaScript.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "engine/base/fatal_error.h"
#include "engine/convert/batch_options.h"
#include "engine/convert/converter.h"
#include "engine/convert/status_view.h"
#include "engine/format/sound_format.h"
#include "engine/base/text.h"
#include "engine/read/input.h"
#include "engine/read/reader.h"
#include "settings/settings_file.h"

namespace orv::web {

using emscripten::val;

namespace {

// A copy of n values as a typed array owned by JavaScript (the wasm memory may grow and
// move under a view of it) of their type: a Uint8Array of bytes, a Float64Array of doubles.
template <typename T> val ArrayCopy(const T* data, std::size_t n)
{
    return val(emscripten::typed_memory_view(n, data)).call<val>("slice");
}

// Bytes as a Uint8Array in a buffer the worker's takeBytes(n) gives: one the page gave
// back, where it has one of that size, since a fresh buffer costs more than the copy.
val ByteArray(const std::uint8_t* data, std::size_t n)
{
    val bytes = val::module_property("takeBytes")(n);
    bytes.call<void>("set", val(emscripten::typed_memory_view(n, data)));
    return bytes;
}

std::vector<std::uint8_t> BytesOf(const val& array)
{
    std::vector<std::uint8_t> bytes(array["length"].as<std::size_t>());
    val(emscripten::typed_memory_view(bytes.size(), bytes.data())).call<void>("set", array);
    return bytes;
}

// Settings from a file's bytes; none for an empty array.
std::shared_ptr<const SettingsFile> SettingsOf(const val& bytes)
{
    const std::vector<std::uint8_t> data = BytesOf(bytes);
    if (data.empty()) return nullptr;
    return SettingsFile::FromBytes(std::string(data.begin(), data.end()));
}

val ErrorValue(const char* text)
{
    val result = val::object();
    result.set("error", std::string(text));
    return result;
}

// What work gives, or its error as the front ends word it.
template <typename Work> val Guarded(Work work)
{
    try {
        return work();
    } catch (const FatalError& error) {
        return ErrorValue(error.what());
    } catch (const std::bad_alloc&) {
        return ErrorValue(FatalError::OutOfMemory().what());
    }
}

const char* PassedOverName(PassedOver why)
{
    switch (why) {
    case PassedOver::Folder: return "folder";
    case PassedOver::NotAnInputName: return "notAnInputName";
    case PassedOver::NotAPackArchive: break;
    }
    return "notAPackArchive";
}

const char* ActionName(PictureAction action)
{
    switch (action) {
    case PictureAction::Drawn: return "drawn";
    case PictureAction::Raw: return "raw";
    case PictureAction::Skipped: break;
    }
    return "skipped";
}

void SetImage(val& out, const RgbImage& image)
{
    out.set("width", image.width);
    out.set("height", image.height);
    out.set("rgb", ByteArray(image.rgb.data(), image.rgb.size()));
}

// A drawn picture's size and its pixels as the canvas holds them, blue, green, red: the
// page puts them in its own order as it paints them, so that they are copied once here.
void SetCanvasPixels(val& out, const FrameView& view)
{
    out.set("width", view.width);
    out.set("height", view.height);
    out.set("bgr", ByteArray(view.bgr, std::size_t{view.width} * view.height * 3));
}

// Tells the worker each time the files of one more entry are in place, so that it can
// take them out of memory while conversion goes on.
class ProgressView : public SilentStatusView {
public:
    explicit ProgressView(val onProgress) : onProgress_(std::move(onProgress)) { }
    // The converter whose output folder is told.
    void Watch(const Converter& converter) { converter_ = &converter; }

    void SetEntryProgressMax(std::int32_t maximum) override { maximum_ = maximum; }
    void SetEntryProgressPosition(std::int32_t position) override
    {
        onProgress_(position, maximum_, converter_->outDir);
    }

private:
    val onProgress_;
    const Converter* converter_ = nullptr;
    std::int32_t maximum_ = 0;
};

}  // namespace

// The bytes file.read(offset, n) gives (a Uint8Array of n bytes), file.size in all.
std::shared_ptr<ByteSource> SourceOf(const val& file)
{
    return CallbackSource(
        static_cast<std::uint64_t>(file["size"].as<double>()),
        [file](std::uint64_t offset, void* destination, std::uint32_t n) {
            const val bytes = file.call<val>("read", static_cast<double>(offset), n);
            if (bytes["length"].as<std::uint32_t>() != n) return false;
            val(emscripten::typed_memory_view(n, static_cast<std::uint8_t*>(destination))).call<void>("set", bytes);
            return true;
        });
}

// One opened input and the settings its animations are composed with.
class WebInput {
public:
    // The input file reads (size, read(offset, n)), named name as the chosen file is.
    val Open(const val& file, const std::string& name)
    {
        return Guarded([&] {
            auto input = std::make_shared<Input>();
            const Input::Opened opened = input->Open(SourceOf(file), name, InputKindOf(AsciiLower(name)));
            val result = val::object();
            switch (opened) {
            case Input::Opened::NotAnInput:
                result.set("passedOver", std::string(PassedOverName(input->passedOver())));
                return result;
            case Input::Opened::CannotOpen: result.set("openError", input->openError()); return result;
            case Input::Opened::Yes: break;
            }
            input_ = input;
            reader_ = std::make_unique<Reader>(input_);
            reader_->SetSettings(settings_);
            result.set("kind", std::string(input_->kind() == InputKind::Archive ? "archive" : "animation"));
            result.set("pastEnd", input_->pastEnd());
            return result;
        });
    }

    // The entries as columns, entry i at position i: the shown names joined by "\n" (which
    // no shown name holds), kinds as codes into kindNames, offsets, sizes and pastEnd. The
    // page takes a few arrays and one string from the worker at once, where an object an
    // entry would hold it for a tenth of a second at 65,535 entries.
    val Entries() const
    {
        std::string names;
        std::vector<std::uint8_t> kinds;
        std::vector<std::uint32_t> offsets;
        std::vector<std::uint32_t> sizes;
        std::vector<std::uint8_t> pastEnd;
        static const std::vector<InputEntry> none;
        for (const InputEntry& entry : input_ ? input_->entries() : none) {
            if (!kinds.empty()) names += '\n';
            names += entry.shown;
            kinds.push_back(static_cast<std::uint8_t>(entry.kind));
            offsets.push_back(entry.stored.offset);
            sizes.push_back(entry.stored.size);
            pastEnd.push_back(entry.pastEnd ? 1 : 0);
        }
        val kindNames = val::array();
        for (const EntryKind kind : {EntryKind::Sound, EntryKind::Animation, EntryKind::Picture, EntryKind::Other})
            kindNames.set(static_cast<std::uint8_t>(kind), std::string(EntryKindName(kind)));
        val columns = val::object();
        columns.set("names", names);
        columns.set("kindNames", kindNames);
        columns.set("kinds", ArrayCopy(kinds.data(), kinds.size()));
        columns.set("offsets", ArrayCopy(offsets.data(), offsets.size()));
        columns.set("sizes", ArrayCopy(sizes.data(), sizes.size()));
        columns.set("pastEnd", ArrayCopy(pastEnd.data(), pastEnd.size()));
        return columns;
    }

    val Details(std::uint32_t i)
    {
        return OnEntry(i, [&] {
            const EntryDetails details = reader_->Details(i);
            val result = val::object();
            result.set("pictureType", details.picture.type);
            result.set("width", details.picture.width);
            result.set("height", details.picture.height);
            result.set("frames", details.frames);
            result.set("soundCode", details.soundCode);
            // A sound's length in seconds, for a known format.
            if (const std::optional<SoundFormat> format = SoundFormatOf(details.soundCode)) {
                result.set("channels", format->channels);
                result.set("rate", format->rate);
                result.set("seconds", SoundSeconds(*format, reader_->entries()[i].size));
            }
            return result;
        });
    }

    // Every entry's details as columns, entry i at position i, for sorting by them: read
    // (0 where the details could not be read), width, height, frames, soundCode, and for a
    // sound of a known format channels, rate and seconds (0 otherwise). One call, where a
    // call an entry held the worker for seconds at 65,535 entries.
    val DetailsColumns()
    {
        return Guarded([&] {
            const std::size_t n = reader_ ? reader_->entries().size() : 0;
            std::vector<std::uint8_t> read(n), soundCodes(n);
            std::vector<std::uint16_t> channels(n);
            std::vector<std::uint32_t> widths(n), heights(n), frames(n), rates(n);
            std::vector<double> seconds(n);
            for (std::size_t i = 0; i < n; ++i) {
                try {
                    const EntryDetails details = reader_->Details(i);
                    widths[i] = details.picture.width;
                    heights[i] = details.picture.height;
                    frames[i] = details.frames;
                    soundCodes[i] = details.soundCode;
                    if (const std::optional<SoundFormat> format = SoundFormatOf(details.soundCode)) {
                        channels[i] = format->channels;
                        rates[i] = format->rate;
                        seconds[i] = SoundSeconds(*format, reader_->entries()[i].size);
                    }
                    read[i] = 1;
                } catch (const FatalError&) {
                    // This entry's details stay unread; the others are still told.
                }
            }
            val columns = val::object();
            columns.set("read", ArrayCopy(read.data(), n));
            columns.set("width", ArrayCopy(widths.data(), n));
            columns.set("height", ArrayCopy(heights.data(), n));
            columns.set("frames", ArrayCopy(frames.data(), n));
            columns.set("soundCode", ArrayCopy(soundCodes.data(), n));
            columns.set("channels", ArrayCopy(channels.data(), n));
            columns.set("rate", ArrayCopy(rates.data(), n));
            columns.set("seconds", ArrayCopy(seconds.data(), n));
            return columns;
        });
    }

    void SetSettings(const val& bytes)
    {
        settings_ = SettingsOf(bytes);
        if (reader_) reader_->SetSettings(settings_);
    }

    val Picture(std::uint32_t i)
    {
        return OnEntry(i, [&] {
            const FrameView picture = reader_->PictureView(i);
            val result = val::object();
            result.set("action", std::string(ActionName(picture.action)));
            if (picture.action == PictureAction::Drawn) SetCanvasPixels(result, picture);
            if (picture.action == PictureAction::Raw) result.set("bytes", ByteArray(picture.bytes, picture.size));
            return result;
        });
    }

    val Frames(std::uint32_t i)
    {
        return OnEntry(i, [&] {
            val frames = val::array();
            for (const RenderedFrame& frame : reader_->Animation(i)) {
                val item = val::object();
                item.set("number", frame.number);
                item.set("action", std::string(ActionName(frame.action)));
                if (frame.action == PictureAction::Drawn)
                    SetImage(item, frame.image);
                else
                    item.set("bytes", ByteArray(frame.bytes.data(), frame.bytes.size()));
                frames.call<void>("push", item);
            }
            val result = val::object();
            result.set("frames", frames);
            return result;
        });
    }

    // The first frame an animation draws, for its thumbnail: width, height and bgr, its
    // pixels as blue, green, red (no width: it draws none). The frames after it are not
    // composed.
    val FirstFrame(std::uint32_t i)
    {
        return OnEntry(i, [&] {
            val result = val::object();
            bool found = false;
            reader_->Frames(
                i,
                [&](const FrameView& frame) {
                    if (found || frame.action != PictureAction::Drawn) return;
                    found = true;
                    SetCanvasPixels(result, frame);
                },
                [&] { return found; });
            return result;
        });
    }

    val Sound(std::uint32_t i)
    {
        return OnEntry(i, [&] {
            const RenderedSound sound = reader_->Sound(i);
            val result = val::object();
            result.set("channels", sound.format.channels);
            result.set("rate", sound.format.rate);
            result.set("samples", ByteArray(sound.samples.data(), sound.samples.size()));
            return result;
        });
    }

    val Bytes(std::uint32_t i)
    {
        return OnEntry(i, [&] {
            const std::vector<std::uint8_t> bytes = reader_->Bytes(i);
            val result = val::object();
            result.set("bytes", ByteArray(bytes.data(), bytes.size()));
            return result;
        });
    }

    // Converts the input into outRoot/<its name>/ with orvconv-cli's choices (options:
    // outputMode, animation as the values of their enums, aniRaw, frameMs, sheetColumns),
    // the settings file's bytes, and the entries chosen by index (all for an empty list);
    // onProgress(entries done, entries, output folder) is called each time the files of one
    // more entry are in place. Gives the result, or the error that ended it.
    val Convert(const std::string& outRoot, const val& options, const val& settingsBytes, const val& chosen,
                const val& onProgress) const;

private:
    // What work gives for entry i, or the error; an index past the entries is refused.
    template <typename Work> val OnEntry(std::uint32_t i, Work work)
    {
        if (!reader_ || i >= reader_->entries().size()) return ErrorValue("no such entry");
        return Guarded(work);
    }

    std::shared_ptr<const Input> input_;
    std::unique_ptr<Reader> reader_;
    std::shared_ptr<const SettingsFile> settings_;
};

val WebInput::Convert(const std::string& outRoot, const val& options, const val& settingsBytes, const val& chosen,
                      const val& onProgress) const
{
    if (!input_) return ErrorValue("no input is open");
    // The choices orvconv-cli takes; sheetColumns 0 is its default.
    const auto outputMode = options["outputMode"].as<std::int32_t>();
    const auto animation = options["animation"].as<std::int32_t>();
    const auto frameMs = options["frameMs"].as<std::int32_t>();
    const auto sheetColumns = options["sheetColumns"].as<std::int32_t>();
    if (outputMode < AllBmp || outputMode > AlphaPng || animation < 0
        || animation > static_cast<std::int32_t>(AnimationOutput::Sheet) || frameMs < 1 || frameMs > 655350
        || sheetColumns < 0 || sheetColumns > 65535)
        return ErrorValue("unknown output choice");
    const std::vector<std::uint32_t> indices = emscripten::vecFromJSArray<std::uint32_t>(chosen);
    // An archive holds at most 65,535 entries.
    for (const std::uint32_t index : indices)
        if (index > 0xFFFF) return ErrorValue("no such entry");
    return Guarded([&] {
        const std::shared_ptr<const SettingsFile> settings = SettingsOf(settingsBytes);
        ProgressView view(onProgress);
        Converter converter(view);
        view.Watch(converter);
        // As orvconv-cli takes -o: "" is the current folder.
        converter.options.exeDir = outRoot.empty() || outRoot.ends_with('/') ? outRoot : outRoot + '/';
        converter.options.outputMode = static_cast<OutputMode>(outputMode);
        converter.options.animation = static_cast<AnimationOutput>(animation);
        converter.options.aniRaw = options["aniRaw"].as<bool>();
        converter.options.frameMs = frameMs;
        converter.options.sheetColumns = sheetColumns;
        converter.options.iniFile = settings.get();
        for (const std::uint32_t index : indices) {
            if (index >= converter.chosenEntries.size()) converter.chosenEntries.resize(index + 1, false);
            converter.chosenEntries[index] = true;
        }
        const ConvertResult converted = converter.ConvertInput(*input_);
        val result = val::object();
        result.set("result", static_cast<std::int32_t>(converted));
        result.set("outDir", converter.outDir);
        result.set("pastEnd", converter.inputPastEnd);
        return result;
    });
}

}  // namespace orv::web

EMSCRIPTEN_BINDINGS(orvconv)
{
    using namespace orv::web;
    emscripten::class_<WebInput>("Input")
        .constructor<>()
        .function("open", &WebInput::Open)
        .function("entries", &WebInput::Entries)
        .function("details", &WebInput::Details)
        .function("detailsColumns", &WebInput::DetailsColumns)
        .function("setSettings", &WebInput::SetSettings)
        .function("picture", &WebInput::Picture)
        .function("frames", &WebInput::Frames)
        .function("firstFrame", &WebInput::FirstFrame)
        .function("sound", &WebInput::Sound)
        .function("bytes", &WebInput::Bytes)
        .function("convert", &WebInput::Convert);
}
