#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/read/archive.h"
#include "engine/convert/batch_options.h"
#include "engine/export/composed_frames.h"
#include "engine/convert/convert_result.h"
#include "engine/output/output_file.h"
#include "engine/output/output_folder.h"
#include "engine/output/output_names.h"
#include "engine/output/output_queue.h"
#include "engine/read/canvas.h"
#include "engine/base/scratch_buffer.h"
#include "engine/base/stop_token.h"
#include "engine/convert/status_view.h"

namespace orv {

class Input;
class InputFile;
class TaskRunner;
struct DibInfo;

// The conversion engine and all of its state for one batch at a time. A front end
// owns one, sets its options, and calls ConvertInputFile once per input.
class Converter {
public:
    explicit Converter(StatusView& view) : view_(view) { }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Set by the front end before ConvertInputFile.
    BatchOptions options;
    std::string srcPath;
    // Asked at each pump point (before each entry and each frame): a stop requested ends
    // the input after the entry under way.
    StopToken stopToken;
    // Where finished pictures are encoded and written while the next ones are decoded;
    // none writes each at once. Files are put in place in entry order either way.
    TaskRunner* pictureWriters = nullptr;
    // The entries of an archive whose files are written, by index; empty: every entry.
    // The others are still drawn where they draw, so that what is written shows what
    // converting the whole input shows.
    std::vector<bool> chosenEntries;

    // Written by ConvertInputFile.
    std::string srcName;  // lower-cased file name of srcPath
    std::string outDir;  // output folder, ending in "/"
    std::int32_t entryIndex = 0;  // the entry under way, from 0
    // Whether the archive's table, or an entry converted, reached past the end of the
    // file: the missing bytes were read as zeros, which front ends may tell the user.
    bool inputPastEnd = false;

    // Opens srcPath and converts it; an input passed over or not opened is told to the view.
    ConvertResult ConvertInputFile();
    // Converts an input opened by the caller, which names it (srcPath, srcName).
    ConvertResult ConvertInput(const Input& input);
    // The bytes the block entries are read into holds: never more than the largest entry
    // read whole, or one chunk of a streamed sound.
    std::uint32_t dataBlockBytes() const { return dataBuf.capacity(); }

    void ConvertAnimation(const std::uint8_t* data, ArchiveEntry& entry);
    // The one file (or sheet and index) the composed frames of an animation become,
    // as options.animation says; none when there is nothing to show or it was stopped.
    void WriteComposedAnimation(const ArchiveEntry& entry);
    void ConvertImageEntry(const std::uint8_t* data, const ArchiveEntry& entry, bool clearCanvas, bool renderOnly,
                           std::int32_t frameNo);
    void WriteWaveFromMemory(const std::uint8_t* data, const ArchiveEntry& entry);
    void WriteWaveStreamed(const InputFile& archive, const ArchiveEntry& entry);
    void DumpEntry(const std::uint8_t* data, const ArchiveEntry& entry, std::int32_t frameNo);
    // Write a bottom-up picture and put it in place at once.
    void WriteBmpFile(const std::uint8_t* pixels, const DibInfo& info, const std::string& path,
                      const std::uint8_t* colourTable);
    void WritePngFile(const std::uint8_t* pixels, const DibInfo& info, const std::string& path,
                      const std::uint8_t* colourTable);

private:
    // EnsureCapacity, with the memory FatalError when the block cannot be obtained.
    std::uint8_t* Obtain(ScratchBuffer& buffer, std::uint32_t n, bool zeroFill);
    void MakeOutputFolder();
    // Starts an input without a canvas block, as the first input of a run starts.
    void DropCanvas();
    ConvertResult ConvertOpenInput(const Input& input);
    void ConvertArchiveEntry(const InputFile& archive, ArchiveEntry& entry);
    bool Chosen(std::uint32_t index) const;
    // Draws an entry left out of chosenEntries on the canvas, writing nothing.
    void DrawUnchosen(const InputFile& archive, ArchiveEntry& entry, EntryKind kind);
    // outDir + the entry's name as UTF-8 + suffix.
    std::string EntryOutputPath(const ArchiveEntry& entry, std::string_view suffix) const;
    // outDir + the entry's name as UTF-8 without its extension.
    std::string EntryOutputStem(const ArchiveEntry& entry) const;
    // Whether path names a file directly inside outDir. Output paths are built from
    // entry names, which must never lead out of the folder.
    bool IsInsideOutDir(const std::string& path) const;
    // Begins the file at path, which must lie directly inside outDir and must be neither
    // the input being converted nor one of options.batchInputs (file-open FatalError
    // otherwise); created() tells whether the file system gave it.
    OutputFile BeginOutputFile(const std::string& path);
    // BeginOutputFile, with the file-open FatalError when the file cannot be created
    // (the write FatalError when the file system is full).
    OutputFile CreateOutputFile(const std::string& path);
    // The write FatalError when the bytes cannot all be written or put in place.
    static void WriteOutput(OutputFile& out, const void* data, std::uint32_t n);
    static void CommitOutput(OutputFile& out);
    // Put the file in place after what entries before it wrote.
    void QueueOutput(OutputFile out);
    // The entry under way (frame frameNo of it; -1: not a frame) writes path. A path
    // that an earlier entry or frame of the input wrote is told as a note: the later
    // file replaces the earlier one.
    void Claim(const std::string& path, const ArchiveEntry& entry, std::int32_t frameNo);
    // The picture files, written but not yet in place; safe on any thread while the
    // input converts.
    OutputFile WriteBmp(const std::uint8_t* pixels, const DibInfo& info, const std::string& path,
                        const std::uint8_t* colourTable);
    OutputFile WritePng(const std::uint8_t* pixels, const DibInfo& info, const std::string& path,
                        const std::uint8_t* colourTable);

    // Pumps events; whether Stop was asked for.
    bool StopRequested();

    // The input's table and the entry under way, each in a block reused from entry to entry.
    ScratchBuffer tableBuf;
    ScratchBuffer dataBuf;
    StatusView& view_;
    // Entries of the input whose files are in place, as the view is shown them.
    std::int32_t entriesDone_ = 0;
    // The canvas every picture of the input is drawn on, carried from one to the next.
    Canvas canvas_;
    // The folder of outDir while ConvertInputFile converts into it.
    OutputFolder outFolder_;
    const Input* input_ = nullptr;  // the input under way, never written over
    // The paths the input's entries wrote, each with the entry (and frame) that wrote it.
    std::unordered_map<std::string, std::string> claimed_;
    // The input's files on their way into outFolder_; emptied before it is let go.
    OutputQueue outputs_;
    // While an animation is composed for a file that plays it, its frames gather here
    // instead of being written one by one.
    bool composing_ = false;
    // While an entry outside chosenEntries is drawn, nothing is written.
    bool drawOnly_ = false;
    ComposedFrames composed_;
};

}  // namespace orv
