#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/read/archive.h"
#include "engine/read/image_decoder.h"
#include "engine/read/input.h"
#include "engine/read/canvas.h"
#include "engine/format/sound_format.h"

namespace orv {

class SettingsFile;

// Pixels in memory: width x height x (red, green, blue), top row first, no padding.
struct RgbImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgb;
};

// What a picture entry becomes: drawn pixels, its raw bytes (a type conversion copies
// as they are), or nothing (a type conversion passes over).
struct RenderedPicture {
    PictureAction action = PictureAction::Skipped;
    RgbImage image;  // Drawn
    std::vector<std::uint8_t> bytes;  // Raw
};

// One frame an animation shows, as conversion writes it: composed pixels, or for a frame
// of a type that is not drawn, the bytes from the frame's offset to the end of the data.
struct RenderedFrame {
    std::uint32_t number = 0;
    PictureAction action = PictureAction::Drawn;  // Drawn or Raw
    RgbImage image;
    std::vector<std::uint8_t> bytes;
};

// A sound entry as conversion writes it: the format of its code, and the 16-bit PCM
// samples that follow the WAV header.
struct RenderedSound {
    SoundFormat format;
    std::vector<std::uint8_t> samples;
};

// A frame as it is drawn, valid only during the call that hands it over: pixels on the
// canvas (blue, green, red, top row first) or the raw bytes.
struct FrameView {
    std::uint32_t number = 0;
    PictureAction action = PictureAction::Drawn;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    const std::uint8_t* bgr = nullptr;  // Drawn
    const std::uint8_t* bytes = nullptr;  // Raw
    std::uint32_t size = 0;  // Raw
};

// Turns pixels of blue, green, red into red, green, blue in place, and back.
void SwapRedAndBlue(std::uint8_t* pixels, std::size_t count);

// A frame handed over as it is drawn, kept: its pixels as red, green, blue, or its bytes.
RenderedFrame RenderedOf(const FrameView& view);

// What can be told of an entry from its first bytes.
struct EntryDetails {
    PictureHeader picture;  // Image
    std::uint32_t frames = 0;  // Animation: frame count
    std::uint8_t soundCode = 0;  // Sound: the format code
};

// Asked between entries, frames and pieces of a read; true abandons the work.
using ReaderStop = std::function<bool()>;

// Where a sound's samples go: given their format and byte count, a block of that many
// bytes, which the reader fills.
using SoundDestination = std::function<std::uint8_t*(const SoundFormat& format, std::uint32_t bytes)>;

// The frames of one animation entry, composed one at a time on a canvas and a copy of the
// entry's bytes of the cursor's own: the caller takes each frame when it likes, and other
// reads of the input may come between. Made by Reader::Cursor.
class FrameCursor {
public:
    // Draws on to the next frame shown and hands it to sink (two, where the settings take
    // a frame copied raw as the base of the next); false at the end, or when stop ended it
    // first (finished() tells which), the same frame then coming next. A picture beyond
    // the input's limits is the memory FatalError.
    bool Next(const std::function<void(const FrameView&)>& sink, const ReaderStop& stop = {});
    bool finished() const { return next_ > frames_; }

private:
    friend class Reader;
    std::size_t entry_ = 0;
    std::string section_;
    std::shared_ptr<const SettingsFile> settings_;
    std::uint64_t pictureBytes_ = 0;
    std::vector<std::uint8_t> data_;
    std::uint32_t size_ = 0;
    std::uint32_t frames_ = 0;
    std::uint32_t next_ = 1;
    Canvas canvas_;
    // Whether the canvas was the block exactly as conversion has it before the entry.
    bool inTurn_ = false;
};

// An input (pack archive or animation file) read without writing anything: its entries,
// and each entry rendered into memory exactly as conversion writes it for that entry in
// that input, whatever the order entries are asked for. Pictures of an input share one
// canvas block: an animation frame larger than the picture before it shows what earlier
// entries left in the block. For an animation the reader finds the latest entry from
// which the block's state can be rebuilt (a block made anew, or pictures that set every
// byte the animation reads) and draws only from there; entries asked in order cost no
// more than conversion does. One reader serves one thread; readers of any inputs may
// work on several threads at once, on one input or several. Read errors and memory that
// cannot be obtained are FatalErrors; so is an entry, picture or animation beyond the
// input's limits. An entry is read whole, so one larger than a scratch block (1 GiB) is
// the memory error, even a sound that conversion copies in chunks.
class Reader {
public:
    explicit Reader(std::shared_ptr<const Input> input);

    const Input& input() const { return *input_; }
    const std::vector<InputEntry>& entries() const { return input_->entries(); }

    // The settings animation frames are composed with (none: without settings), kept
    // by the reader. Giving it the settings it has keeps what it has drawn.
    void SetSettings(std::shared_ptr<const SettingsFile> settings);
    const std::shared_ptr<const SettingsFile>& settings() const { return settings_; }

    EntryDetails Details(std::size_t i);
    // Where each frame of an animation entry starts, from its table alone.
    std::vector<std::uint32_t> FrameOffsets(std::size_t i);
    // The entry's bytes as conversion reads them (its size cut to the file).
    std::vector<std::uint8_t> Bytes(std::size_t i);
    // The first n bytes of the entry, fewer when it is shorter.
    std::vector<std::uint8_t> Head(std::size_t i, std::uint32_t n);
    // A sound entry (any entry taken as a sound); the unknown-format FatalError, naming
    // the file conversion would write, for a code that is none of the known ones. stop is
    // asked between pieces of the read: no samples when it ended it.
    RenderedSound Sound(std::size_t i, const ReaderStop& stop = {});
    // The same samples read straight into the block destination gives, a piece at a time,
    // stop asked between pieces; false when it ended the read.
    bool SoundInto(std::size_t i, const SoundDestination& destination, const ReaderStop& stop = {});
    // A picture entry (any entry taken as a picture). stop is asked between pieces of the
    // read and before the picture is drawn and turned to RGB: nothing (Skipped) when it
    // ended it.
    RenderedPicture Picture(std::size_t i, const ReaderStop& stop = {});
    // The same picture as drawn, its pixels left on the canvas as blue, green, red (or
    // its raw bytes), valid until the reader is next used: for a caller that wants them in
    // another order or place, without a copy as RGB first.
    FrameView PictureView(std::size_t i, const ReaderStop& stop = {});
    // The frames an animation entry shows, one by one; false when stop ended it first.
    bool Frames(std::size_t i, const std::function<void(const FrameView&)>& sink, const ReaderStop& stop = {});
    // The frames of entry i to be drawn one at a time (any entry taken as an animation);
    // nothing when stop ended it first. Finish(cursor) once it is through.
    std::optional<FrameCursor> Cursor(std::size_t i, const ReaderStop& stop = {});
    // Takes back the canvas of a cursor walked to its end: the block as conversion has it
    // before the next entry, which entries read in order then start from.
    void Finish(FrameCursor& cursor);
    // All of them; the memory FatalError once they would hold more than a scratch block
    // may. Empty when stopped.
    std::vector<RenderedFrame> Animation(std::size_t i, const ReaderStop& stop = {});

private:
    // What drawing entry k asks of the canvas block, and what the block is after it.
    struct Footprint {
        std::uint32_t capacityBefore = 0;
        std::uint32_t capacityAfter = 0;
        bool remade = false;
        std::uint32_t readBefore = 0;
        std::uint32_t set = 0;
    };
    // The uses of the canvas block that entry k makes.
    std::vector<CanvasUse> UsesOf(std::size_t k);
    const Footprint& FootprintOf(std::size_t k);
    // A canvas holding, before entry i, every byte of the block that entry i reads: the
    // reader's block brought up to entry i where that costs no more, else a scratch
    // block rebuilt from the latest entry that sets those bytes. Null when stopped.
    Canvas* CanvasBefore(std::size_t i, const ReaderStop& stop);
    // Draws entry k over the canvas, as conversion does, showing nothing.
    void Replay(std::size_t k, Canvas& canvas);
    // Entry i, which draws nothing, was read: the block is as it is before entry i + 1.
    void Passed(std::size_t i);
    // The entry's bytes in the reader's data block, read a piece at a time with stop asked
    // between pieces; null when it ended the read.
    const std::uint8_t* ReadEntry(const InputEntry& entry, const ReaderStop& stop = {});
    // The entry asked for, within the input's limits for an entry read whole.
    const InputEntry& Asked(std::size_t i) const;
    // A picture or frame to be drawn for the caller, within the input's limits.
    void CheckPicture(const PictureHeader& header) const;

    std::shared_ptr<const Input> input_;
    std::shared_ptr<const SettingsFile> settings_;
    ScratchBuffer dataBuf_;
    // The block exactly as conversion has it before entry canvasAt_ (or none), carried
    // along while entries are read in order.
    Canvas canvas_;
    std::size_t canvasAt_ = kNone;
    // A block rebuilt for one entry, right only in the bytes that entry reads.
    Canvas scratch_;
    std::vector<Footprint> footprints_;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
};

}  // namespace orv
