#include "batch.h"

#include <cstdio>

namespace orv::cli {

int RunBatch(Converter& converter, ConsoleStatusView& view, const std::vector<std::string>& files,
             bool quiet)
{
    const auto total = static_cast<std::int32_t>(files.size());
    ConvertResult last = ConvertResult::Skipped;
    converter.cancelRequested = false;
    view.SetFileCounterText(FormatCounter(0, total));
    for (std::int32_t i = 0; i < total; ++i) {
        view.ResetEntries();
        converter.srcPath = files[static_cast<std::size_t>(i)];
        last = converter.ConvertInputFile();
        view.PumpEvents();
        if (converter.cancelRequested) break;
        view.SetFileCounterText(FormatCounter(i + 1, total));
    }
    view.ClearProgressLine();

    // The outcome is that of the last file handed over; a skipped one says nothing.
    if (!quiet && last != ConvertResult::Skipped) {
        std::puts(last == ConvertResult::Finished ? "変換終了しました。" : "変換中止しました。");
        std::fflush(stdout);
    }
    return converter.cancelRequested ? 130 : 0;
}

}  // namespace orv::cli
