#include "ui_text/help_formatter.h"

#include <gtest/gtest.h>

namespace {

struct WrapCase {
    const char* text;
    std::size_t width;
    std::size_t indent;
    const char* wrapped;
};

TEST(WrapText, BreaksAtSpacesKeepingEachLinesIndentationAndTableColumns)
{
    const WrapCase cases[] = {
        {"", 10, 0, ""},
        {"fits as it is", 13, 0, "fits as it is"},
        {"one two three four", 9, 0, "one two\nthree\nfour"},
        {"one two three", 9, 2, "one two\n  three"},
        // A word longer than the width stands alone, never cut.
        {"a extraordinarily b", 6, 0, "a\nextraordinarily\nb"},
        // Lines are broken one by one; blank lines and their breaks stay.
        {"aa bb\n\ncc dd", 2, 0, "aa\nbb\n\ncc\ndd"},
        // Leading spaces carry over to the lines a line is broken into.
        {"  lead one two", 9, 0, "  lead\n  one two"},
        // A table row keeps its gap and continues under its second column.
        {"  0    done and dusted", 16, 0, "  0    done and\n       dusted"},
        {"  128+N  a signal stopped it", 19, 0, "  128+N  a signal\n         stopped it"},
    };
    for (const WrapCase& c : cases) EXPECT_EQ(orv::WrapText(c.text, c.width, c.indent), c.wrapped) << c.text;
}

}  // namespace
