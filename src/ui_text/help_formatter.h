#pragma once

#include <CLI/CLI.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace orv {

// The text broken at spaces into lines of at most width columns (a word longer than that
// stands on a line of its own). Each line of the text is broken on its own; the lines
// one is broken into start with as many spaces as it does, plus indent.
std::string WrapText(std::string_view text, std::size_t width, std::size_t indent = 0);

// --help as a terminal of 80 columns shows it without breaking words: the usage line first,
// then the description, the options with their descriptions wrapped beside them, and the
// footer.
class HelpFormatter : public CLI::Formatter {
public:
    static constexpr std::size_t kWidth = 80;

    HelpFormatter();
    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override;
    std::string make_description(const CLI::App* app) const override;
    std::string make_option(const CLI::Option* opt, bool is_positional) const override;
    std::string make_footer(const CLI::App* app) const override;
};

}  // namespace orv
