#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "archive.h"
#include "file_handle.h"
#include "image_writers.h"
#include "output_file.h"
#include "scratch_buffer.h"
#include "settings_file.h"
#include "status_view.h"

namespace orv {

enum class ConvertResult : std::int32_t { Finished = 0, Cancelled = 1, Skipped = -1 };

enum OutputMode : std::int32_t { AllBmp = 0, AllPng = 1, AlphaPng = 2 };

// The conversion engine and all of its state for one batch at a time. A front end
// owns one, sets the batch fields, and calls ConvertInputFile once per input.
class Converter {
public:
    explicit Converter(StatusView& view) : view_(view) {}
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Set by the front end before ConvertInputFile.
    std::string exeDir;  // folder in which output folders are made, ending in "/"
    std::string srcPath;
    std::int32_t outputMode = AllBmp;
    bool aniRaw = false;
    const SettingsFile* iniFile = nullptr;
    bool cancelRequested = false;

    // Written by ConvertInputFile.
    std::string srcName;  // lower-cased file name of srcPath
    std::string outDir;   // output folder, ending in "/"
    std::int32_t entryIndex = 0;

    ScratchBuffer tableBuf;
    ScratchBuffer dataBuf;
    ScratchBuffer canvasBuf;
    ScratchBuffer dibBuf;

    ConvertResult ConvertInputFile();

    void ConvertAnimation(const std::uint8_t* data, ArchiveEntry& entry);
    void ConvertImageEntry(const std::uint8_t* data, const ArchiveEntry& entry, bool clearCanvas,
                           bool renderOnly, std::int32_t frameNo);
    void WriteWaveFromMemory(const std::uint8_t* data, const ArchiveEntry& entry);
    void WriteWaveStreamed(FileHandle& archive, const ArchiveEntry& entry);
    void DumpEntry(const std::uint8_t* data, const ArchiveEntry& entry, std::int32_t frameNo);
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
    void ConvertArchiveEntry(FileHandle& archive, ArchiveEntry& entry);
    // outDir + the entry's name as UTF-8 + suffix.
    std::string EntryOutputPath(const ArchiveEntry& entry, std::string_view suffix) const;
    // outDir + the entry's name as UTF-8 without its extension.
    std::string EntryOutputStem(const ArchiveEntry& entry) const;
    // Whether path names a file directly inside outDir. Output paths are built from
    // entry names, which must never lead out of the folder.
    bool IsInsideOutDir(const std::string& path) const;
    // Opens a file directly inside outDir; any other path is the file-open FatalError.
    OutputFile CreateOutputFile(const std::string& path) const;

    StatusView& view_;
};

// "_0001"-style frame suffix: empty for a negative number, else at least four digits.
std::string FrameSuffix(std::int32_t frameNo);

// The name of the folder, inside exeDir, that an input's files go into: its lower-cased
// file name (srcName) without the extension, or all of it where that would leave "",
// "." or "..", which name no folder of their own.
std::string OutputFolderName(std::string_view srcName);

}  // namespace orv
