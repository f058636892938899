#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The rest of the settings interface, so that one include brings all of it.
#include "settings/integer_text.h"
#include "settings/settings_error.h"
#include "settings/settings_list.h"

namespace orv {

// One settings file read whole: per animation (a section) and frame (key "p" and the
// frame number), an integer telling how that frame is composed. Texts are byte strings.
// A loaded file is never changed, and any number of threads may look it up at once.
class SettingsFile {
public:
    // An empty path, a path where nothing exists, or a folder give a file without
    // sections. Throws SettingsError when the file is there but cannot be read.
    static std::unique_ptr<SettingsFile> Load(const std::string& path);
    // The settings held in bytes, as Load reads them from a file.
    static std::unique_ptr<SettingsFile> FromBytes(std::string bytes);

    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // The value of key in section, names compared ignoring ASCII letter case. Only the
    // last section of a name counts, and within it the last line with the key; fallback
    // when either is missing.
    std::string TextValue(std::string_view section, std::string_view key, std::string_view fallback) const;
    // TextValue read by ParseIntegerText; fallback when missing or not an integer.
    std::int32_t IntegerValue(std::string_view section, std::string_view key, std::int32_t fallback) const;
    // Whether both hold the same bytes, and so tell the same.
    bool SameAs(const SettingsFile& other) const;

private:
    struct Content;

    explicit SettingsFile(std::unique_ptr<Content> content);

    std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;

    const std::unique_ptr<Content> content_;
};

}  // namespace orv
