#include "settings/settings_file.h"

#include <mutex>
#include <utility>

#include "settings/name_index.h"
#include "settings/settings_layout.h"
#include "settings/settings_reader.h"

namespace orv {

namespace {

// A section's key index, made on the first lookup in that section: most sections of a
// file are never looked up, and 256 buckets for each would outweigh the file itself.
struct LazyKeyIndex {
    std::once_flag built;
    std::unique_ptr<NameIndex> index;
};

}  // namespace

// The indexes are filled in by lookups, so they are built under once flags: several
// conversion workers share one loaded file.
struct SettingsFile::Content {
    explicit Content(std::string text) :
        bytes(std::move(text)),
        layout(LayOutSettings(bytes)),
        keyIndexes(std::make_unique<LazyKeyIndex[]>(layout.sections.size()))
    { }

    std::string bytes;
    SettingsLayout layout;  // views into bytes
    std::once_flag sectionIndexBuilt;
    NameIndex sectionIndex;
    std::unique_ptr<LazyKeyIndex[]> keyIndexes;  // one per section
};

std::unique_ptr<SettingsFile> SettingsFile::Load(const std::string& path)
{
    std::optional<std::string> bytes;
    if (!path.empty()) bytes = ReadSettingsBytes(path);
    return FromBytes(bytes ? std::move(*bytes) : std::string());
}

std::unique_ptr<SettingsFile> SettingsFile::FromBytes(std::string bytes)
{
    return std::unique_ptr<SettingsFile>(new SettingsFile(std::make_unique<Content>(std::move(bytes))));
}

SettingsFile::SettingsFile(std::unique_ptr<Content> content) : content_(std::move(content)) { }

SettingsFile::~SettingsFile() = default;

std::optional<std::string_view> SettingsFile::FindValue(std::string_view section, std::string_view key) const
{
    Content& content = *content_;
    const SettingsLayout& layout = content.layout;
    const auto sectionName = [&layout](std::size_t i) { return layout.sections[i].name; };
    std::call_once(content.sectionIndexBuilt, [&] { content.sectionIndex.Build(layout.sections.size(), sectionName); });
    const std::optional<std::size_t> found = content.sectionIndex.Find(section, sectionName);
    if (!found) return std::nullopt;

    const SettingsSection& chosen = layout.sections[*found];
    if (chosen.entryCount == 0) return std::nullopt;
    const SettingsEntry* entries = layout.entries.data() + chosen.firstEntry;
    const auto keyName = [entries](std::size_t i) { return entries[i].key; };
    LazyKeyIndex& keys = content.keyIndexes[*found];
    std::call_once(keys.built, [&] {
        keys.index = std::make_unique<NameIndex>();
        keys.index->Build(chosen.entryCount, keyName);
    });
    const std::optional<std::size_t> entry = keys.index->Find(key, keyName);
    if (!entry) return std::nullopt;
    return entries[*entry].value;
}

std::string SettingsFile::TextValue(std::string_view section, std::string_view key, std::string_view fallback) const
{
    return std::string(FindValue(section, key).value_or(fallback));
}

bool SettingsFile::SameAs(const SettingsFile& other) const
{
    return content_->bytes == other.content_->bytes;
}

std::int32_t SettingsFile::IntegerValue(std::string_view section, std::string_view key, std::int32_t fallback) const
{
    return ParseIntegerText(TextValue(section, key, ""), fallback);
}

}  // namespace orv
