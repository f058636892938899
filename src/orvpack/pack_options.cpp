#include "orvpack/pack_options.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <string>

#include "engine/convert/batch_options.h"
#include "ui_text/help_formatter.h"

namespace orv::packcli {

namespace {

CLI::Validator NotEmpty(const std::string& what)
{
    return CLI::Validator(
        [what](const std::string& text) { return text.empty() ? what + " needs a file name" : std::string(); }, "FILE");
}

PackParseOutcome UsageError(const std::string& what)
{
    std::cerr << "orvpack: " << what << "\n"
              << "usage: orvpack [-o OUT.dat] [--base ORIGINAL.dat] [--remove ENTRY] [-s FILE] "
                 "[--animation frames|webp|gif|sheet] "
                 "[--dereference] [--quantize] [-v] [-q] FOLDER   "
                 "(orvpack --help for more)\n";
    return {std::nullopt, 2};
}

}  // namespace

PackParseOutcome ParsePackOptions(int argc, const char* const* argv)
{
    PackCliOptions options;
    CLI::App app{"Builds an ORVENDA 3.2 pack archive (.dat) from a folder as orvconv-cli writes it: "
                 "NAME.bmp or NAME.png becomes the picture NAME.cg, NAME.wav the sound NAME.pcm, frames "
                 "NAME_0001.bmp... (with raw frames NAME.ani_0001...) the animation NAME.ani, any other file an entry "
                 "of its own name.",
                 "orvpack"};
    app.add_option("-o,--output", options.pack.output,
                   "the archive to write, or with a name ending in .ani the animation file of FOLDER's one "
                   "animation (default: FOLDER.dat beside the folder, which must not exist yet)")
        ->check(NotEmpty("-o"))
        ->option_text("OUT.dat");
    CLI::Option* base
        = app.add_option("--base", options.pack.base,
                         "the original archive: its entries are kept byte for byte and in order unless their "
                         "files in FOLDER changed; other files are added after them")
              ->check(NotEmpty("--base"))
              ->option_text("ORIGINAL.dat");
    app.add_option("--remove", options.pack.remove,
                   "leave the base's entry of this name (as orvconv-cli shows it) out; may be given more than once")
        ->needs(base)
        ->allow_extra_args(false)
        ->option_text("ENTRY");
    app.add_option("-s,--settings", options.pack.settings,
                   "the settings file FOLDER was converted with: frames are compared with the original and "
                   "encoded as conversion composes them with it (default: none)")
        ->check(CLI::ExistingFile)
        ->option_text("FILE");
    std::string choices;
    for (const auto& [name, output] : AnimationOutputNames()) choices += (choices.empty() ? "" : "|") + name;
    app.add_option("--animation", options.pack.playedAs,
                   "how FOLDER's animations were converted: numbered frames, or NAME.webp, NAME.gif or "
                   "NAME_sheet.png with its JSON, read back into the frames of NAME.ani (with --base, compared with "
                   "the original's frames; a GIF whose frames were reduced to 256 colours is refused) (default: "
                   "frames)")
        ->transform(CLI::CheckedTransformer(AnimationOutputNames(), CLI::ignore_case).description(""))
        ->option_text(choices);
    app.add_option("--frame-ms", options.pack.frameMs,
                   "how long each frame of a webp or gif was shown when FOLDER was converted (default 100): a "
                   "frame shown k times as long is k equal frames")
        ->check(CLI::Range(1, 655350))
        ->option_text("N");
    app.add_flag("--dereference", options.pack.dereference,
                 "pack the files that symbolic links in FOLDER name (default: skip the links)");
    app.add_option("-j,--jobs", options.pack.threads,
                   "entries encoded at once (default: one a core); the archive is the same for any number")
        ->check(CLI::Range(1, 256))
        ->option_text("N");
    app.add_flag("--quantize", options.pack.quantize,
                 "reduce pictures that would store more than 128 colours with libimagequant instead of refusing them");
    app.add_flag("-v,--verbose", options.pack.verbose,
                 "a line for each entry whose name or kind is not what its file's name suggests (default: "
                 "how many there are)");
    app.add_flag("-q,--quiet", options.quiet, "no notes on stderr (errors still show)");
    app.footer("Entry names go back to CP932, with orvconv-cli's %XX escapes undone; a name CP932 cannot hold or "
               "longer than 16 bytes, two files making the same entry, more than 65,535 entries, an archive past "
               "4 GiB or a picture storing more than 128 colours (without --quantize) is an error naming the file, "
               "and then no archive is written. With --base, an animation whose frames match the original only as "
               "conversion without settings shows it is kept as it is, with a note. The archive is written under a "
               "temporary name "
               "and put in place when "
               "complete; without -o no existing file is replaced.\n\n"
               "Exit status:\n"
               "  0    the archive was written\n"
               "  1    no archive was written (the reason on stderr)\n"
               "  2    a usage error");
    app.set_version_flag("-V,--version", "orvpack " ORVCONV_VERSION);
    app.formatter(std::make_shared<HelpFormatter>());
    app.add_option("FOLDER", options.pack.folder, "the folder to pack")
        ->required()
        ->check(NotEmpty("FOLDER"))
        ->option_text("REQUIRED");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return {std::nullopt, 0};
    } catch (const CLI::CallForVersion&) {
        std::cout << "orvpack " ORVCONV_VERSION "\n";
        return {std::nullopt, 0};
    } catch (const CLI::ParseError& e) {
        return UsageError(e.what());
    }
    return {std::move(options), 0};
}

}  // namespace orv::packcli
