#include "cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/available_cores.h"
#include "ui_text/help_formatter.h"

namespace orv::cli {

namespace {

// An option that takes one of these names, the first by default, and sets value to
// what the name stands for once parsed.
template <typename Value>
void AddChoice(CLI::App& app, const std::string& flags, Value& value, const std::string& help,
               const std::vector<std::pair<std::string, Value>>& names)
{
    std::vector<std::string> keys;
    std::string shown;
    for (const auto& [name, choice] : names) {
        keys.push_back(name);
        shown += (shown.empty() ? "" : "|") + name;
    }
    app.add_option_function<std::string>(
           flags,
           [&value, &names](const std::string& name) {
               for (const auto& [known, choice] : names) {
                   if (known == name) value = choice;
               }
           },
           help)
        ->check(CLI::IsMember(keys))
        ->option_text(shown);
}

}  // namespace

ParseOutcome ParseCliOptions(int argc, const char* const* argv)
{
    CliOptions options;
    CLI::App app{"Converts ORVENDA 3.2 pack archives (.dat) and animations (.ani) into BMP, PNG, "
                 "WAV and raw files.",
                 "orvconv-cli"};
    AddChoice(app, "-f,--format", options.batch.outputMode,
              "bmp: all BMP (default), png: all PNG, alpha: PNG only for pictures with alpha", OutputModeNames());
    app.add_flag("--ani-raw", options.batch.aniRaw,
                 "write animation entries of archives as raw copies (--animation is then not used for them)");
    AddChoice(app, "--animation", options.batch.animation,
              "what each animation becomes: frames: numbered pictures (default); webp: NAME.webp, "
              "lossless and animated; gif: NAME.gif, looping; sheet: NAME_sheet.png, a sprite sheet, "
              "with its index NAME_sheet.json",
              AnimationOutputNames());
    app.add_option("--frame-ms", options.batch.frameMs,
                   "display time of each frame in webp and gif, in milliseconds (default 100; gif keeps "
                   "hundredths of a second)")
        ->check(CLI::Range(1, 655350))
        ->option_text("N");
    app.add_option("--sheet-columns", options.batch.sheetColumns,
                   "frames per row of a sprite sheet (default: the frame count, at most 16)")
        ->check(CLI::Range(1, 65535))
        ->option_text("N");
    // A settings file named but missing is a typo that would change the frames: refused.
    app.add_option("-s,--settings", options.settingsPath,
                   "settings file for composing animation frames (default: none)")
        ->check(CLI::ExistingFile)
        ->option_text("FILE");
    app.add_option("-o,--output-root", options.outputRoot,
                   "folder in which output folders are made, created when missing (default: the current folder)")
        ->check(CLI::Validator(
            [](const std::string& text) {
                return text.empty() ? std::string("-o needs a folder name") : std::string();
            },
            "DIR"))
        ->option_text("DIR");
    app.add_flag("-l,--list", options.list, "list each input's contents instead of converting");
    app.add_flag("-q,--quiet", options.quiet, "no progress line and no final message");
    options.jobs = AvailableCores();
    app.add_option("-j,--jobs", options.jobs,
                   "threads in all (default: the number of cores): files converted at once, and "
                   "pictures of a file encoded at once; 1 does everything one after another")
        ->check(CLI::Validator(
            [](const std::string& text) {
                return text.find_first_not_of("0123456789") == std::string::npos
                        && text.find_first_not_of('0') != std::string::npos
                    ? std::string()
                    : std::string("-j needs a number of at least 1");
            },
            "N"))
        ->option_text("N");
    app.footer("Each input is converted into DIR/<its lower-cased name without extension>/, DIR being the "
               "current folder without -o.\n\n"
               "webp, gif and sheet show the frames that frames writes. A frame smaller than the largest "
               "one is shown at the top left of a canvas of that size, the rest black. A GIF frame of more "
               "than 256 colours is reduced to 256, with a note on stderr. An animation with no frames "
               "writes no file.\n\n"
               "Exit status:\n"
               "  0    every input was converted or passed over, and one at least converted\n"
               "  1    a fatal error (its text on stderr), or stdout could not be written\n"
               "  2    a usage error\n"
               "  3    the batch ran to its end, but an input could not be opened\n"
               "  4    nothing was converted: every input was passed over (each named on stderr)\n"
               "  5    every input was converted (or listed), but one ends before its table or entries do "
               "(cut short); it is named on stderr, and --list marks the records the file ends before\n"
               "  128+N  signal N stopped the batch with work left undone (130 Ctrl-C, 143 SIGTERM, 129 SIGHUP)");
    app.set_version_flag("-V,--version", "orvconv-cli " ORVCONV_VERSION);
    app.formatter(std::make_shared<HelpFormatter>());
    app.add_option("FILE", options.files, ".dat or .ani files, converted in this order")
        ->required()
        ->option_text("...");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return {std::nullopt, 0};
    } catch (const CLI::CallForVersion&) {
        std::cout << "orvconv-cli " ORVCONV_VERSION "\n";
        return {std::nullopt, 0};
    } catch (const CLI::ParseError& e) {
        std::cerr << "orvconv-cli: " << e.what() << "\n"
                  << "usage: orvconv-cli [OPTIONS] FILE...   (orvconv-cli --help for more)\n";
        return {std::nullopt, 2};
    }
    return {std::move(options), 0};
}

}  // namespace orv::cli
