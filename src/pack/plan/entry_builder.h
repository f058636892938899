#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "pack/plan/folder_sources.h"
#include "pack/files/pack_error.h"
#include "pack/encode/picture_encoder.h"
#include "pack/archive/planned_entry.h"

namespace orv {
class SettingsFile;
}  // namespace orv

namespace orv::pack {

// Makes entries from the files orvconv-cli writes for them.
class EntryBuilder {
public:
    using Note = std::function<void(const std::string&)>;

    // quantize: reduce pictures of more than 128 colours instead of refusing them;
    // note receives what is worth telling (a picture reduced); settings (or none) compose
    // the frames of animations as conversion with them does.
    EntryBuilder(bool quantize, Note note, const SettingsFile* settings = nullptr) :
        quantize_(quantize), note_(std::move(note)), settings_(settings)
    { }

    // The entry named `name` (CP932) from its source: a picture entry, a sound entry
    // with lead as its header's first bytes, an animation whose missing frame numbers
    // are frames that draw nothing, or the file's bytes. PackError naming the file when
    // it cannot be made. stop is asked before each frame of an animation.
    PlannedEntry Build(const Source& source, const std::string& name, const std::array<std::uint8_t, 3>& lead = {},
                       const PackStop& stop = {});

private:
    enum class Under { Cleared, Unknown, Previous };
    Bytes PictureEntry(const SourceFile& file, Under under, Picture& canvas);
    Bytes RawFrame(const SourceFile& file);
    Bytes AnimationEntry(const Source& source, const std::string& name, const PackStop& stop);

    bool quantize_;
    Note note_;
    const SettingsFile* settings_;
};

}  // namespace orv::pack
