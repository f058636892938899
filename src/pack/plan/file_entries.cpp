#include "pack/plan/file_entries.h"

#include <map>
#include <set>

#include "engine/base/text.h"
#include "engine/format/archive_table.h"
#include "engine/read/input.h"
#include "pack/plan/entry_name.h"
#include "pack/files/pack_error.h"
#include "pack/files/file_bytes.h"

namespace orv::pack {

namespace {

// Whether the file starts as the kind it is named for: a BMP, PNG or RIFF WAVE file. What
// does not is a raw entry conversion dumped under that name; what does is read as such,
// and refused when it breaks a limit.
bool LooksLike(const std::string& name, const SourceFile& file)
{
    static constexpr std::string_view kPng = "\x89PNG\r\n\x1a\n";
    const Bytes head = ReadFileHead(file.path, file.shown, 12);
    const std::string text(head.begin(), head.end());
    if (name.ends_with(".png")) return text.starts_with(kPng);
    if (name.ends_with(".wav")) return text.size() == 12 && text.starts_with("RIFF") && text.substr(8) == "WAVE";
    return text.starts_with("BM");
}

}  // namespace

std::optional<std::string> StemAsName(const std::string& entryShown, std::string_view kindEnd)
{
    const std::string stem(WithoutExtension(entryShown));
    if (stem.find('.') != std::string::npos || !stem.ends_with(kindEnd) || !FitsEntryName(stem)) return std::nullopt;
    return stem;
}

std::vector<EntryOfFile> EntriesOfFiles(const std::vector<SourceFile>& files,
                                        const std::function<void(const std::string&)>& note)
{
    std::set<std::string> names;
    std::size_t png = 0;
    std::size_t bmp = 0;
    for (const SourceFile& file : files) {
        names.insert(std::string(FileNamePart(file.path)));
        png += file.path.ends_with(".png") ? 1 : 0;
        bmp += file.path.ends_with(".bmp") ? 1 : 0;
    }
    // Of two pictures by one name, the one in the format of most of them.
    const std::string_view pictures = png > bmp ? ".png" : ".bmp";
    std::vector<EntryOfFile> entries;
    std::set<std::string> told;
    for (const SourceFile& file : files) {
        const std::string name(FileNamePart(file.path));
        const EntryOfFile guess = EntryOf(name);
        EntryOfFile entry = guess;
        std::string why;
        const bool picture = guess.kind == SourceKind::Picture || (guess.kind == SourceKind::Frames && !guess.rawFrame);
        const std::string twin = name.substr(0, name.size() - 4) + (name.ends_with(".bmp") ? ".png" : ".bmp");
        if (picture && names.count(twin) != 0 && !name.ends_with(pictures)) {
            why = "conversion writes every picture as " + std::string(pictures) + ", and " + EscapeControlBytes(twin)
                + " is here";
        } else if ((picture || guess.kind == SourceKind::Sound) && !LooksLike(name, file)) {
            why = guess.kind == SourceKind::Sound ? "not a WAV file" : "not a picture file";
        } else if ((guess.kind == SourceKind::Sound || guess.kind == SourceKind::Frames)
                   && !FitsEntryName(guess.entryShown)) {
            if (const std::optional<std::string> stem
                = StemAsName(guess.entryShown, guess.kind == SourceKind::Sound ? "pcm" : "ani")) {
                entry.entryShown = *stem;
                if (told.insert(*stem).second)
                    note(file.shown + ": makes the entry " + EscapeControlBytes(*stem) + ", as "
                         + EscapeControlBytes(guess.entryShown) + " would pass 16 bytes");
            }
        }
        if (!why.empty()) {
            entry = {SourceKind::Raw, name};
            note(file.shown + ": the raw entry " + EscapeControlBytes(name) + " (" + why + ")");
        }
        entries.push_back(entry);
    }
    return entries;
}

void JoinCutRawFrames(const std::vector<SourceFile>& files, const std::string& fileName,
                      std::vector<EntryOfFile>& entries)
{
    const auto readerName
        = [](const std::string& name) { return Cp932ToUtf8(AnimationFileEntry(AsciiLower(name), 0).Name()); };
    std::map<std::string, std::string> animationOf;
    for (const EntryOfFile& entry : entries) {
        if (entry.kind == SourceKind::Frames) animationOf.emplace(readerName(entry.entryShown), entry.entryShown);
    }
    animationOf.emplace(readerName(fileName), readerName(fileName));
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (entries[i].kind != SourceKind::Raw) continue;
        const std::optional<FrameName> numbered = NumberedNameOf(FileNamePart(files[i].path));
        if (!numbered) continue;
        if (const auto found = animationOf.find(numbered->stem); found != animationOf.end())
            entries[i] = {SourceKind::Frames, found->second, numbered->number, true};
    }
}

}  // namespace orv::pack
