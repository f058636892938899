#include "ui_text/help_formatter.h"

#include <algorithm>

namespace orv {

namespace {

// Columns of UTF-8 text: every character counts one, which holds for the help texts.
std::size_t Columns(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A line whose words are separated as written; where it breaks, the next line starts at
// indent more than the line's own leading spaces or, for a row of a table (leading spaces,
// a first word, then two spaces or more), at the row's second column.
void WrapLine(std::string_view line, std::size_t width, std::size_t indent, std::string& out)
{
    const std::size_t lead = std::min(line.find_first_not_of(' '), line.size());
    std::size_t hanging = lead + indent;
    if (lead > 0) {
        const std::size_t firstEnd = std::min(line.find(' ', lead), line.size());
        const std::size_t second = std::min(line.find_first_not_of(' ', firstEnd), line.size());
        if (second < line.size() && second - firstEnd >= 2) hanging = Columns(line.substr(0, second));
    }
    std::string current(line.substr(0, lead));
    std::size_t at = lead;
    bool fresh = true;  // nothing but indentation on the current line yet
    while (at < line.size()) {
        const std::size_t wordAt = std::min(line.find_first_not_of(' ', at), line.size());
        const std::size_t wordEnd = std::min(line.find(' ', wordAt), line.size());
        const std::string_view gap = line.substr(at, wordAt - at);
        const std::string_view word = line.substr(wordAt, wordEnd - wordAt);
        at = wordEnd;
        if (word.empty()) break;
        if (!fresh && Columns(current) + Columns(gap) + Columns(word) > width) {
            out += current + '\n';
            current.assign(hanging, ' ');
            fresh = true;
        }
        if (!fresh) current += gap;
        current += word;
        fresh = false;
    }
    out += current;
}

}  // namespace

std::string WrapText(std::string_view text, std::size_t width, std::size_t indent)
{
    std::string out;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        WrapLine(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start), width,
                 indent, out);
        if (end == std::string_view::npos) return out;
        out += '\n';
        start = end + 1;
    }
}

HelpFormatter::HelpFormatter()
{
    column_width(30);
}

std::string HelpFormatter::make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const
{
    return make_usage(app, std::move(name)) + make_description(app) + make_positionals(app) + make_groups(app, mode)
        + "\n" + make_footer(app);
}

std::string HelpFormatter::make_description(const CLI::App* app) const
{
    const std::string description = app->get_description();
    return description.empty() ? std::string() : "\n" + WrapText(description, kWidth) + "\n";
}

std::string HelpFormatter::make_option(const CLI::Option* opt, bool is_positional) const
{
    const std::string name = "  " + make_option_name(opt, is_positional) + make_option_opts(opt);
    const std::string description = WrapText(make_option_desc(opt), kWidth - column_width_);
    std::string out = name;
    // A name that reaches into the description's column puts the description below it.
    if (Columns(name) + 1 >= column_width_)
        out += '\n' + std::string(column_width_, ' ');
    else
        out += std::string(column_width_ - Columns(name), ' ');
    const std::string indent(column_width_, ' ');
    for (const char c : description) {
        out += c;
        if (c == '\n') out += indent;
    }
    return out + '\n';
}

std::string HelpFormatter::make_footer(const CLI::App* app) const
{
    const std::string footer = app->get_footer();
    return footer.empty() ? std::string() : WrapText(footer, kWidth) + "\n";
}

}  // namespace orv
