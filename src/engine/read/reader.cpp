#include "engine/read/reader.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include "engine/format/frame_table.h"
#include "engine/base/fatal_error.h"
#include "engine/read/frame_walk.h"
#include "engine/base/text.h"

namespace orv {

namespace {

bool NeverStop()
{
    return false;
}

// Blue, green, red rows of the canvas as red, green, blue.
RgbImage RgbOf(std::uint32_t width, std::uint32_t height, const std::uint8_t* bgr)
{
    const std::size_t count = std::size_t{width} * height;
    RgbImage image{width, height, std::vector<std::uint8_t>(bgr, bgr + count * 3)};
    SwapRedAndBlue(image.rgb.data(), count);
    return image;
}

// Entries are read in pieces of this many bytes, stop asked between them.
constexpr std::uint32_t kPieceBytes = std::uint32_t{16} << 20;

// n bytes at offset of the file into destination, a piece at a time; bytes past the end
// of the file are zeros. False when stop ended it first.
bool ReadPieces(const InputFile& file, std::uint64_t offset, std::uint8_t* destination, std::uint32_t n,
                const ReaderStop& stop)
{
    const std::uint64_t held = offset < file.size() ? std::min<std::uint64_t>(n, file.size() - offset) : 0;
    std::fill(destination + held, destination + n, std::uint8_t{0});
    for (std::uint32_t done = 0; done < n;) {
        if (stop && stop()) return false;
        const std::uint32_t piece = std::min(n - done, kPieceBytes);
        file.ReadAt(offset + done, destination + done, piece);
        done += piece;
    }
    return true;
}

// Draws one picture of an animation's walk on the canvas, as conversion does, and hands
// what it shows to sink, if any; a picture shown beyond pictureBytes is the memory
// FatalError.
void DrawStep(Canvas& canvas, const FrameStep& frame, std::uint64_t pictureBytes,
              const std::function<void(const FrameView&)>& sink)
{
    const PictureHeader header = ReadPictureHeader(frame.data, frame.size);
    const PictureAction action = ActionOf(header);
    FrameView view{frame.number, action, header.width, header.height, nullptr, nullptr, 0};
    if (action == PictureAction::Skipped) return;
    if (action == PictureAction::Drawn) {
        if (sink && std::uint64_t{header.width} * header.height * 3 > pictureBytes) throw FatalError::OutOfMemory();
        view.bgr = canvas.Draw(frame.data, frame.size, header, static_cast<std::int32_t>(frame.number), frame.clear);
        if (frame.baseOnly) return;
    } else {
        // A frame of another type is copied as it is, even when only its base is asked for.
        view.bytes = frame.data;
        view.size = frame.size;
    }
    if (sink) sink(view);
}

}  // namespace

RenderedFrame RenderedOf(const FrameView& view)
{
    RenderedFrame frame{view.number, view.action, {}, {}};
    if (view.action == PictureAction::Drawn)
        frame.image = RgbOf(view.width, view.height, view.bgr);
    else
        frame.bytes.assign(view.bytes, view.bytes + view.size);
    return frame;
}

bool FrameCursor::Next(const std::function<void(const FrameView&)>& sink, const ReaderStop& stop)
{
    bool shown = false;
    while (!shown && !finished()) {
        if (stop && stop()) return false;
        WalkFrame(data_.data(), size_, next_, section_, settings_.get(), [&](const FrameStep& frame) {
            DrawStep(canvas_, frame, pictureBytes_, [&](const FrameView& view) {
                shown = true;
                sink(view);
            });
        });
        ++next_;
    }
    return shown;
}

void SwapRedAndBlue(std::uint8_t* pixels, std::size_t count)
{
    for (std::size_t p = 0; p < count * 3; p += 3) std::swap(pixels[p], pixels[p + 2]);
}

Reader::Reader(std::shared_ptr<const Input> input) : input_(std::move(input)) { }

void Reader::SetSettings(std::shared_ptr<const SettingsFile> settings)
{
    if (settings == settings_) return;
    settings_ = std::move(settings);
    // Animations drawn with other settings leave other blocks behind them; before the
    // first entry the block is empty whatever the settings.
    footprints_.clear();
    canvas_.Drop();
    canvasAt_ = 0;
}

const std::uint8_t* Reader::ReadEntry(const InputEntry& entry, const ReaderStop& stop)
{
    const std::uint64_t size = input_->SizeOf(entry);
    if (!stop) return input_->file().ReadBlock(dataBuf_, input_->OffsetOf(entry), size);
    if (size > kMaxScratchBytes) throw FatalError::OutOfMemory();
    std::uint8_t* block = dataBuf_.EnsureCapacity(static_cast<std::uint32_t>(size), false);
    if (block == nullptr) throw FatalError::OutOfMemory();
    return ReadPieces(input_->file(), input_->OffsetOf(entry), block, static_cast<std::uint32_t>(size), stop) ? block
                                                                                                              : nullptr;
}

void Reader::CheckPicture(const PictureHeader& header) const
{
    if (std::uint64_t{header.width} * header.height * 3 > input_->limits().pictureBytes)
        throw FatalError::OutOfMemory();
}

const InputEntry& Reader::Asked(std::size_t i) const
{
    const InputEntry& entry = entries().at(i);
    if (input_->SizeOf(entry) > input_->limits().entryBytes) throw FatalError::OutOfMemory();
    return entry;
}

std::vector<std::uint32_t> Reader::FrameOffsets(std::size_t i)
{
    const InputEntry& entry = entries().at(i);
    // The slots up to the offset in the first slot, never past the end of the entry.
    std::uint8_t first[4] = {};
    input_->file().ReadAt(input_->OffsetOf(entry), first,
                          static_cast<std::uint32_t>(std::min<std::uint64_t>(input_->SizeOf(entry), 4)));
    const std::uint64_t bytes = std::min<std::uint64_t>(FrameTableBytes(first), input_->SizeOf(entry));
    const std::uint8_t* table = input_->file().ReadBlock(dataBuf_, input_->OffsetOf(entry), bytes);
    std::vector<std::uint32_t> offsets(AnimationFrameCount(table, static_cast<std::uint32_t>(bytes)));
    for (std::uint32_t k = 1; k <= offsets.size(); ++k) offsets[k - 1] = AnimationFrameOffset(table, k);
    return offsets;
}

EntryDetails Reader::Details(std::size_t i)
{
    const InputEntry& entry = entries().at(i);
    std::uint8_t head[kPictureHeaderBytes] = {};
    const std::uint32_t held = std::min<std::uint32_t>(entry.size, sizeof head);
    input_->file().ReadAt(entry.stored.offset, head, held);
    EntryDetails details;
    details.picture = ReadPictureHeader(head, held);
    details.frames = AnimationFrameCount(head, entry.size);
    details.soundCode = entry.size >= kSoundHeaderBytes ? head[kSoundCodeAt] : 0;
    return details;
}

std::vector<std::uint8_t> Reader::Bytes(std::size_t i)
{
    const InputEntry& entry = Asked(i);
    const std::uint8_t* data = ReadEntry(entry);
    Passed(i);
    return {data, data + entry.size};
}

std::vector<std::uint8_t> Reader::Head(std::size_t i, std::uint32_t n)
{
    const InputEntry& entry = entries().at(i);
    std::vector<std::uint8_t> head(std::min<std::uint64_t>(n, input_->SizeOf(entry)));
    input_->file().ReadAt(input_->OffsetOf(entry), head.data(), static_cast<std::uint32_t>(head.size()));
    return head;
}

bool Reader::SoundInto(std::size_t i, const SoundDestination& destination, const ReaderStop& stop)
{
    const InputEntry& entry = Asked(i);
    // An entry too short for its header has format code 0, an unknown one.
    const std::vector<std::uint8_t> head = Head(i, kSoundHeaderBytes);
    const std::optional<SoundFormat> format = SoundFormatOf(head.size() == kSoundHeaderBytes ? head[kSoundCodeAt] : 0);
    if (!format) throw FatalError::UnknownFormat(std::string(WithoutExtension(entry.shown)) + ".wav");
    const auto bytes = static_cast<std::uint32_t>(input_->SizeOf(entry) - kSoundHeaderBytes);
    std::uint8_t* samples = destination(*format, bytes);
    if (!ReadPieces(input_->file(), input_->OffsetOf(entry) + kSoundHeaderBytes, samples, bytes, stop)) return false;
    Passed(i);
    return true;
}

RenderedSound Reader::Sound(std::size_t i, const ReaderStop& stop)
{
    RenderedSound sound;
    const bool read = SoundInto(
        i,
        [&](const SoundFormat& format, std::uint32_t bytes) {
            sound.format = format;
            sound.samples.resize(bytes);
            return sound.samples.data();
        },
        stop);
    if (!read) sound.samples.clear();
    return sound;
}

RenderedPicture Reader::Picture(std::size_t i, const ReaderStop& stop)
{
    const FrameView view = PictureView(i, stop);
    RenderedPicture picture;
    picture.action = view.action;
    if (view.action == PictureAction::Drawn) picture.image = RgbOf(view.width, view.height, view.bgr);
    if (view.action == PictureAction::Raw) picture.bytes.assign(view.bytes, view.bytes + view.size);
    return picture;
}

FrameView Reader::PictureView(std::size_t i, const ReaderStop& stop)
{
    const FrameView nothing{0, PictureAction::Skipped, 0, 0, nullptr, nullptr, 0};
    const InputEntry& entry = Asked(i);
    const std::uint8_t* data = ReadEntry(entry, stop);
    if (data == nullptr) return nothing;
    const PictureHeader header = ReadPictureHeader(data, entry.size);
    FrameView view{0, ActionOf(header), header.width, header.height, nullptr, nullptr, 0};
    // A picture of the archive sets every byte it shows, whatever the block held; drawn
    // on the reader's block only where that is where conversion has it next.
    const bool inTurn = canvasAt_ == i && entry.kind == EntryKind::Picture;
    if (view.action != PictureAction::Drawn) {
        if (inTurn) canvasAt_ = i + 1;
        if (view.action == PictureAction::Raw) {
            view.bytes = data;
            view.size = entry.size;
        }
        return view;
    }
    CheckPicture(header);
    if (stop && stop()) return nothing;
    if (inTurn) canvasAt_ = kNone;
    Canvas& canvas = inTurn ? canvas_ : scratch_;
    view.bgr = canvas.Draw(data, entry.size, header, -1, false);
    if (inTurn) canvasAt_ = i + 1;
    if (stop && stop()) return nothing;
    return view;
}

bool Reader::Frames(std::size_t i, const std::function<void(const FrameView&)>& sink, const ReaderStop& stop)
{
    std::optional<FrameCursor> cursor = Cursor(i, stop);
    if (!cursor) return false;
    while (cursor->Next(sink, stop)) { }
    if (!cursor->finished()) return false;
    Finish(*cursor);
    return true;
}

std::optional<FrameCursor> Reader::Cursor(std::size_t i, const ReaderStop& stop)
{
    const InputEntry& entry = Asked(i);
    FrameCursor cursor;
    cursor.entry_ = i;
    cursor.section_ = entry.stored.Name();
    cursor.settings_ = settings_;
    cursor.pictureBytes_ = input_->limits().pictureBytes;
    cursor.data_.resize(input_->SizeOf(entry));
    input_->file().ReadAt(input_->OffsetOf(entry), cursor.data_.data(),
                          static_cast<std::uint32_t>(cursor.data_.size()));
    cursor.size_ = entry.size;
    cursor.frames_ = AnimationFrameCount(cursor.data_.data(), cursor.size_);
    Canvas* canvas = &scratch_;
    if (entry.kind != EntryKind::Animation) {
        // Conversion never draws it as an animation: drawn on a fresh block.
        scratch_.Drop();
    } else {
        canvas = CanvasBefore(i, stop);
        if (canvas == nullptr) return std::nullopt;
    }
    cursor.inTurn_ = canvas == &canvas_;
    if (cursor.inTurn_) canvasAt_ = kNone;
    std::swap(cursor.canvas_, *canvas);
    return cursor;
}

void Reader::Finish(FrameCursor& cursor)
{
    // Only where nothing has been read in turn since the cursor took the block, and the
    // settings are the ones it was drawn with.
    if (!cursor.finished() || !cursor.inTurn_ || canvasAt_ != kNone || cursor.settings_ != settings_) return;
    std::swap(canvas_, cursor.canvas_);
    canvasAt_ = cursor.entry_ + 1;
}

std::vector<RenderedFrame> Reader::Animation(std::size_t i, const ReaderStop& stop)
{
    std::vector<RenderedFrame> frames;
    std::uint64_t held = 0;
    const bool finished = Frames(
        i,
        [&](const FrameView& view) {
            held += view.action == PictureAction::Drawn ? std::uint64_t{view.width} * view.height * 3 : view.size;
            if (held > input_->limits().heldBytes) throw FatalError::OutOfMemory();
            frames.push_back(RenderedOf(view));
        },
        stop);
    if (!finished) frames.clear();
    return frames;
}

std::vector<CanvasUse> Reader::UsesOf(std::size_t k)
{
    const InputEntry& entry = entries()[k];
    std::vector<CanvasUse> uses;
    try {
        if (entry.kind == EntryKind::Picture) {
            // Read whole as conversion reads it, so that an entry too large to read asks nothing.
            if (entry.size > kMaxScratchBytes) return uses;
            const PictureHeader header = Details(k).picture;
            if (ActionOf(header) == PictureAction::Drawn) uses.push_back(CanvasUseOf(header, -1, false));
        } else if (entry.kind == EntryKind::Animation) {
            const std::uint8_t* data = ReadEntry(entry);
            WalkAnimation(data, entry.size, entry.stored.Name(), settings_.get(), NeverStop,
                          [&](const FrameStep& frame) {
                              const PictureHeader header = ReadPictureHeader(frame.data, frame.size);
                              if (ActionOf(header) != PictureAction::Drawn) return;
                              uses.push_back(CanvasUseOf(header, static_cast<std::int32_t>(frame.number), frame.clear));
                              // Drawing ends the animation here; nothing after it is drawn.
                              if (uses.back().bytes > kMaxScratchBytes) throw FatalError::OutOfMemory();
                          });
        }
    } catch (const FatalError&) {
        // Conversion ends on this entry; the block keeps what the uses before left.
    }
    return uses;
}

const Reader::Footprint& Reader::FootprintOf(std::size_t k)
{
    while (footprints_.size() <= k) {
        const std::size_t j = footprints_.size();
        Footprint footprint;
        footprint.capacityBefore = j == 0 ? 0 : footprints_[j - 1].capacityAfter;
        CanvasModel model(footprint.capacityBefore);
        for (const CanvasUse& use : UsesOf(j)) {
            if (!model.Use(use)) break;
        }
        footprint.capacityAfter = model.capacity();
        footprint.remade = model.remade();
        footprint.readBefore = model.readBefore();
        footprint.set = model.set();
        footprints_.push_back(footprint);
    }
    return footprints_[k];
}

Canvas* Reader::CanvasBefore(std::size_t i, const ReaderStop& stop)
{
    if (canvasAt_ == i) return &canvas_;
    // Back from entry i to the latest entry from which on the bytes it reads are set by
    // the entries themselves: bytes [0, needed) of the block before entry `start` matter.
    std::uint32_t needed = FootprintOf(i).readBefore;
    std::size_t start = i;
    while (needed > 0 && start > 0) {
        const Footprint& footprint = footprints_[--start];
        const std::uint32_t passed = footprint.remade || needed <= footprint.set ? 0 : needed;
        needed = std::max(footprint.readBefore, passed);
    }
    const bool inTurn = canvasAt_ != kNone && canvasAt_ >= start && canvasAt_ < i;
    Canvas& canvas = inTurn ? canvas_ : scratch_;
    std::size_t from = start;
    if (inTurn) {
        from = canvasAt_;
        canvasAt_ = kNone;
    } else {
        // Black where the bytes do not matter, with the capacity conversion has there.
        scratch_.Reset(footprints_[start].capacityBefore);
    }
    for (std::size_t k = from; k < i; ++k) {
        if (stop && stop()) return nullptr;
        Replay(k, canvas);
    }
    if (inTurn) canvasAt_ = i;
    return &canvas;
}

void Reader::Replay(std::size_t k, Canvas& canvas)
{
    const Footprint& footprint = FootprintOf(k);
    if (!footprint.remade && footprint.set == 0) return;  // the entry draws nothing
    const InputEntry& entry = entries()[k];
    try {
        const std::uint8_t* data = ReadEntry(entry);
        if (entry.kind == EntryKind::Picture) {
            const PictureHeader header = ReadPictureHeader(data, entry.size);
            canvas.Draw(data, entry.size, header, -1, false);
        } else {
            WalkAnimation(data, entry.size, entry.stored.Name(), settings_.get(), NeverStop,
                          [&](const FrameStep& frame) { DrawStep(canvas, frame, 0, {}); });
        }
    } catch (const FatalError&) {
        // As in UsesOf: the block keeps what drawing left before the failure.
    }
}

void Reader::Passed(std::size_t i)
{
    const EntryKind kind = entries()[i].kind;
    if (canvasAt_ == i && (kind == EntryKind::Sound || kind == EntryKind::Other)) canvasAt_ = i + 1;
}

}  // namespace orv
