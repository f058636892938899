// orvview, measured where its user waits (offscreen platform):
//   open:    an archive of 65,535 entries (64x64 pictures) opened into a filled list, its
//            first screen of rows painted;
//   preview: a 640x480 picture in the middle of a 600-picture archive made current, until
//            its preview is shown, including whatever drawing the canvas needs;
//   frame:   one step of an animation of 640x480 frames, painted (30 frames/s needs < 33 ms);
//   block:   the longest the window's thread goes without handling events while the user
//            runs down the list of 640x480 pictures, a new entry every 10 ms (max_block_ms);
//   grid:    the thumbnails of a 600-picture archive of 640x480 pictures, every one wanted,
//            until all are rendered (thumbnails_per_s);
//   drag:    the window's thread held by the start of a drag of one entry, the middle one,
//            of a 1,200-picture archive of 640x480 pictures (drag_block_ms), and the time
//            until a drop gets its file; beside it, that entry taken out on the calling
//            thread, as a drag once did.
#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QMimeData>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "tools/ani_writer.h"
#include "tools/cg_encoder.h"
#include "tools/pack_writer.h"
#include "view/entry_model.h"
#include "view/extraction.h"
#include "view/thumbnail_loader.h"
#include "view/viewer_dialogs.h"
#include "view/viewer_window.h"

namespace {

orv::tools::Bytes Picture(int width, int height, int seed)
{
    orv::tools::CgPicture picture;
    picture.width = static_cast<std::uint16_t>(width);
    picture.height = static_cast<std::uint16_t>(height);
    picture.right = picture.width;
    picture.bottom = picture.height;
    for (std::size_t i = 0; i < picture.palette.size(); ++i)
        picture.palette[i] = static_cast<std::uint8_t>(i * 7 + seed);
    for (int p = 0; p < width * height; ++p)
        picture.pixels.push_back(static_cast<std::uint8_t>((p % width / 5 + p / width / 3 + seed) % 120));
    return orv::tools::EncodeCg(picture);
}

std::string Archive(const std::string& name, const std::vector<orv::tools::PackItem>& items)
{
    const std::string path
        = (std::filesystem::temp_directory_path() / ("orvview-bench-" + std::to_string(::getpid()) + "-" + name))
              .string();
    orv::tools::WriteFileBytes(path, orv::tools::BuildPack(items));
    return path;
}

class NoDialogs : public orv::view::ViewerDialogs {
public:
    std::optional<QString> ChooseInput(QWidget*) override { return std::nullopt; }
    std::optional<QString> ChooseSettings(QWidget*, const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseSavePng(QWidget*, const QString&) override { return std::nullopt; }
    bool ChooseExtraction(QWidget*, const QString&, const orv::view::ExtractScope&, orv::view::ExtractChoices&) override
    {
        return false;
    }
    void ShowError(QWidget*, const QString&) override { }
    void ShowMessage(QWidget*, const QString&) override { }
};

void WaitForPreview(QSignalSpy& shown, benchmark::State& state)
{
    if (!shown.wait(30000)) state.SkipWithError("no preview");
}

void BM_OpenLargeArchive(benchmark::State& state)
{
    const orv::tools::Bytes picture = Picture(64, 64, 1);
    std::vector<orv::tools::PackItem> items;
    for (int i = 0; i < 65535; ++i) items.push_back({"p" + std::to_string(i) + ".cg", picture});
    const std::string path = Archive("large.dat", items);
    NoDialogs dialogs;
    orv::view::ViewerWindow window(dialogs);
    window.show();
    auto* list = window.findChild<QTableView*>("entryList");
    for (auto _ : state) {
        window.OpenInput(path);
        list->viewport()->repaint();
    }
    std::filesystem::remove(path);
}

void BM_PreviewInTheMiddle(benchmark::State& state)
{
    std::vector<orv::tools::PackItem> items;
    for (int i = 0; i < 600; ++i) items.push_back({"p" + std::to_string(i) + ".cg", Picture(640, 480, i % 13)});
    const std::string path = Archive("pictures.dat", items);
    NoDialogs dialogs;
    orv::view::ViewerWindow window(dialogs);
    window.show();
    QSignalSpy shown(&window, &orv::view::ViewerWindow::PreviewShown);
    window.OpenInput(path);
    WaitForPreview(shown, state);
    auto* list = window.findChild<QTableView*>("entryList");
    int row = 300;
    for (auto _ : state) {
        list->setCurrentIndex(list->model()->index(row, 0));
        WaitForPreview(shown, state);
        row = row == 300 ? 301 : 300;
    }
    std::filesystem::remove(path);
}

void BM_AnimationFrameStep(benchmark::State& state)
{
    std::vector<orv::tools::Bytes> frames;
    for (int i = 0; i < 8; ++i) frames.push_back(Picture(640, 480, i));
    const std::string path = Archive("walk.dat", {{"walk.ani", orv::tools::BuildAnimation(frames)}});
    NoDialogs dialogs;
    orv::view::ViewerWindow window(dialogs);
    window.resize(1280, 800);
    window.show();
    QSignalSpy shown(&window, &orv::view::ViewerWindow::PreviewShown);
    window.OpenInput(path);
    WaitForPreview(shown, state);
    auto* next = window.findChild<QToolButton*>("nextFrame");
    for (auto _ : state) {
        next->click();
        window.repaint();
    }
    std::filesystem::remove(path);
}

void BM_LongestBlockWhileRunningDownTheList(benchmark::State& state)
{
    std::vector<orv::tools::PackItem> items;
    for (int i = 0; i < 200; ++i) items.push_back({"p" + std::to_string(i) + ".cg", Picture(640, 480, i % 13)});
    const std::string path = Archive("run.dat", items);
    NoDialogs dialogs;
    orv::view::ViewerWindow window(dialogs);
    window.show();
    window.OpenInput(path);
    auto* list = window.findChild<QTableView*>("entryList");
    double longest = 0;
    for (auto _ : state) {
        QElapsedTimer sinceLast;
        sinceLast.start();
        QElapsedTimer clock;
        clock.start();
        for (int row = 0; row < 200; ++row) {
            list->setCurrentIndex(list->model()->index(row, 0));
            // Events for 10 ms, as a key held down delivers them; every return of the loop
            // is a moment the window answered.
            while (clock.elapsed() < 10LL * (row + 1)) {
                QApplication::processEvents(QEventLoop::AllEvents, 1);
                longest = std::max(longest, static_cast<double>(sinceLast.nsecsElapsed()) / 1e6);
                sinceLast.restart();
            }
        }
    }
    state.counters["max_block_ms"] = longest;
    std::filesystem::remove(path);
}

void BM_GridFill(benchmark::State& state)
{
    std::vector<orv::tools::PackItem> items;
    for (int i = 0; i < 600; ++i) items.push_back({"p" + std::to_string(i) + ".cg", Picture(640, 480, i % 13)});
    const std::string path = Archive("grid.dat", items);
    std::vector<std::size_t> all(items.size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    double seconds = 0;
    for (auto _ : state) {
        orv::view::ThumbnailLoader loader;
        QElapsedTimer timer;
        timer.start();
        loader.SetInput(orv::OpenInput(path), nullptr);
        loader.Want(all);
        if (!QTest::qWaitFor([&] { return loader.rendered() == static_cast<int>(all.size()); }, 120000))
            state.SkipWithError("not every thumbnail was rendered");
        seconds += static_cast<double>(timer.nsecsElapsed()) / 1e9;
    }
    state.counters["thumbnails_per_s"] = static_cast<double>(all.size() * state.iterations()) / seconds;
    std::filesystem::remove(path);
}

// 1,200 pictures of 640x480 in 13 patterns; the middle one selected in a window.
struct DragArchive {
    DragArchive()
    {
        std::vector<orv::tools::Bytes> pictures;
        for (int i = 0; i < 13; ++i) pictures.push_back(Picture(640, 480, i));
        std::vector<orv::tools::PackItem> items;
        for (int i = 0; i < 1200; ++i) items.push_back({"p" + std::to_string(i) + ".cg", pictures[i % 13]});
        path = Archive("drag.dat", items);
        window.OpenInput(path);
        auto* list = window.findChild<QTableView*>("entryList");
        list->selectionModel()->select(list->model()->index(600, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    ~DragArchive() { std::filesystem::remove(path); }
    NoDialogs dialogs;
    orv::view::ViewerWindow window{dialogs};
    std::string path;
};

void BM_DragOneEntry(benchmark::State& state)
{
    DragArchive archive;
    double blocked = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const std::unique_ptr<QMimeData> data(archive.window.DragData());
        blocked += static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (!data || data->urls().size() != 1) state.SkipWithError("the entry was not written");
    }
    state.counters["drag_block_ms"] = blocked / static_cast<double>(state.iterations());
}

void BM_TakeOutOneEntryOnTheCaller(benchmark::State& state)
{
    DragArchive archive;
    std::vector<bool> chosen(1200, false);
    chosen[600] = true;
    orv::view::ExtractChoices choices;
    const QTemporaryDir folder;
    choices.folder = folder.path();
    for (auto _ : state) {
        const orv::view::ExtractOutcome outcome
            = orv::view::ExtractEntries(*archive.window.model().input(), nullptr, choices, chosen, {}, {});
        if (!outcome.error.isEmpty()) state.SkipWithError("the entry was not written");
    }
}

BENCHMARK(BM_OpenLargeArchive)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PreviewInTheMiddle)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_AnimationFrameStep)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_LongestBlockWhileRunningDownTheList)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridFill)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DragOneEntry)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TakeOutOneEntryOnTheCaller)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
