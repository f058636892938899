#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "fit_steps.h"
#include "ui_text/path_fit.h"

using namespace orv;
using orv::test::ByteMeasure;

namespace {

// Every path of up to maxLength bytes drawn from alphabet, fitted into a label too narrow for
// anything: the steps end, each one changes the text, and what is left is the end of the path.
void ExpectEveryPathEnds(PathStyle style, std::string_view alphabet, std::size_t maxLength)
{
    std::string path;
    std::size_t count = 0;
    const auto check = [&](const auto& self) -> void {
        ByteMeasure measure;
        const std::string result = FitPathToWidth(path, -1, measure.Callback(), style);
        ASSERT_LE(measure.measured.size(), path.size() + 2) << path;
        for (std::size_t i = 1; i < measure.measured.size(); ++i)
            ASSERT_NE(measure.measured[i], measure.measured[i - 1]) << path;
        ASSERT_TRUE(std::string_view(path).ends_with(result)) << path;
        ++count;
        if (path.size() == maxLength) return;
        for (const char c : alphabet) {
            path.push_back(c);
            self(self);
            path.pop_back();
        }
    };
    check(check);
    EXPECT_GT(count, alphabet.size());
}

}  // namespace

TEST(FitPathAnyInput, WindowsPathsOfSeparatorsDotsAndDoubleByteCharactersEnd)
{
    ExpectEveryPathEnds(PathStyle::Windows, "\\:.a\x95\xE0", 7);
}

TEST(FitPathAnyInput, PosixPathsOfSeparatorsDotsAndMultiByteCharactersEnd)
{
    ExpectEveryPathEnds(PathStyle::Posix, "/.:\\a\xE8", 7);
}
