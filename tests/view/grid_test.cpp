// orvview's grid of thumbnails: each one the picture conversion writes for its entry,
// rendered only for what is in view and near it, in a cache that keeps to its bytes.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QWheelEvent>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "engine/convert/converter.h"
#include "picture_bytes.h"
#include "random_archive.h"
#include "settings/settings_file.h"
#include "view/entry_grid.h"
#include "view/entry_model.h"
#include "view/thumbnail_loader.h"
#include "view/viewer_window.h"
#include "viewer_fixture.h"

using orv::tools::Bytes;
using orv::tools::BytesOf;

namespace {

// Waits until the loader has rendered these entries.
bool AllRendered(orv::view::ThumbnailLoader& loader, const std::vector<std::size_t>& entries)
{
    return QTest::qWaitFor(
        [&] { return std::ranges::all_of(entries, [&](std::size_t entry) { return loader.Find(entry) != nullptr; }); },
        30000);
}

}  // namespace

class GridTest : public ViewerFixture {
    Q_OBJECT

private slots:
    void init() { dir = std::make_unique<TempDir>(); }

    // Pictures that fit are the pixels conversion writes; a larger one is scaled down to fit,
    // each block of one colour keeping its colour; animations show their first composed
    // frame; sounds and other entries have none.
    void eachThumbnailIsWhatConversionWritesScaledToFit()
    {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            RandomArchive random(seed);
            std::string settingsText;
            const std::string archive = Write("grid.dat", random.Archive(14, 40, settingsText));
            const std::string ini = Write("grid.ini", BytesOf(settingsText));
            const std::unique_ptr<orv::SettingsFile> settings = orv::SettingsFile::Load(ini);
            const std::filesystem::path out = dir->path() / ("out" + std::to_string(seed));
            Convert(archive, out.string() + "/", settings.get());

            orv::view::ViewerWindow window(dialogs);
            QVERIFY(window.UseSettings(ini));
            QVERIFY(window.OpenInput(archive));
            window.resize(1200, 900);
            window.show();
            window.ShowGrid(true);
            std::vector<std::size_t> all(static_cast<std::size_t>(window.model().rowCount()));
            for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
            QVERIFY(AllRendered(window.thumbnails(), all));
            int compared = 0;
            for (const std::size_t i : all) {
                const orv::InputEntry& entry = window.model().entry(static_cast<int>(i));
                const std::string stem = entry.shown.substr(0, entry.shown.rfind('.'));
                const QImage* thumbnail = window.thumbnails().Find(i);
                std::filesystem::path written = out / "grid" / (stem + ".bmp");
                if (entry.kind == orv::EntryKind::Animation) {
                    for (const std::string& name : FilesIn(out / "grid"))
                        if (name.starts_with(stem + "_") && name.ends_with(".bmp")) {
                            written = out / "grid" / name;  // the lowest-numbered frame
                            break;
                        }
                }
                if (!std::filesystem::exists(written)) {
                    QVERIFY2(thumbnail->isNull(), entry.shown.c_str());
                    continue;
                }
                QCOMPARE(thumbnail->convertToFormat(QImage::Format_RGB888), Written(written));
                ++compared;
            }
            QVERIFY(compared > 3);
        }

        const std::string big = Write("big.dat", orv::tools::BuildPack({{"big.cg", BlockPicture()}}));
        Convert(big, (dir->path() / "big").string() + "/", nullptr);
        const QImage full = Written(dir->path() / "big" / "big" / "big.bmp");
        orv::view::ThumbnailLoader loader;
        loader.SetInput(orv::OpenInput(big), nullptr);
        loader.Want({0});
        QVERIFY(AllRendered(loader, {0}));
        const QImage thumbnail = loader.Find(0)->convertToFormat(QImage::Format_RGB888);
        QCOMPARE(thumbnail.size(), QSize(256, 128));
        for (int y = 8; y < 128; y += 16)
            for (int x = 16; x < 256; x += 32) QCOMPARE(thumbnail.pixel(x, y), full.pixel(x * 2, y * 2));
    }

    // Only what is in view and a screenful around it is rendered; scrolling to the end
    // renders the end; the cache keeps within its bytes.
    void onlyWhatIsNearTheViewIsRenderedAndKept()
    {
        std::vector<orv::tools::PackItem> items;
        RandomArchive random(4);
        for (int i = 0; i < 3000; ++i) items.push_back({"p" + std::to_string(i) + ".cg", random.Picture(16)});
        const std::string archive = Write("many.dat", orv::tools::BuildPack(items));
        orv::view::ViewerWindow window(dialogs);
        window.resize(900, 700);
        window.show();
        QVERIFY(window.OpenInput(archive));
        window.ShowGrid(true);
        auto* grid = window.findChild<orv::view::EntryGrid*>("entryGrid");
        grid->SetThumbnailSide(64);
        QVERIFY(AllRendered(window.thumbnails(), {0, 1, 2}));
        QTest::qWait(300);
        const int nearTheTop = window.thumbnails().rendered();
        QVERIFY2(nearTheTop < 600, qPrintable(QString::number(nearTheTop)));
        QVERIFY(window.thumbnails().Find(2999) == nullptr);

        constexpr qsizetype kBudget = 4 * 1024;  // fewer thumbnails than a screenful of them
        window.thumbnails().SetCacheBytes(kBudget);
        grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
        QVERIFY(AllRendered(window.thumbnails(), {2999}));
        QVERIFY(window.thumbnails().cachedBytes() <= kBudget);
        QVERIFY(window.thumbnails().Find(0) == nullptr);

        // Ctrl+wheel sizes the thumbnails, within 64 and 256 pixels.
        for (int turn = 0; turn < 20; ++turn) {
            QWheelEvent wheel(QPointF(50, 50), grid->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, 120), Qt::NoButton,
                              Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(grid->viewport(), &wheel);
        }
        QCOMPARE(grid->thumbnailSide(), orv::view::EntryGrid::kLargest);
        QCOMPARE(window.findChild<QSlider*>("thumbnailSide")->value(), orv::view::EntryGrid::kLargest);
    }

    // Pictures and first frames 0 pixels wide or high, their other side longer than any
    // thumbnail, show their kind's icon at every thumbnail size; the picture after them
    // still shows its own.
    void emptyPicturesShowTheirKindAtEverySize()
    {
        std::vector<orv::tools::PackItem> items;
        for (const std::uint16_t other : {std::uint16_t{1}, std::uint16_t{257}, std::uint16_t{65535}}) {
            const std::string name = std::to_string(other);
            items.push_back({"w" + name + ".cg", PictureBytes::Full(0, other, {}, {})});
            items.push_back({"h" + name + ".cg", PictureBytes::Full(other, 0, {}, {})});
            items.push_back({"a" + name + ".ani", AnimationOf({PictureBytes::Full(0, other, {}, {})})});
        }
        items.push_back({"block.cg", BlockPicture()});
        const std::string archive = Write("empty.dat", orv::tools::BuildPack(items));
        orv::view::ViewerWindow window(dialogs);
        window.resize(1000, 800);
        window.show();
        QVERIFY(window.OpenInput(archive));
        window.ShowGrid(true);
        std::vector<std::size_t> all(items.size());
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
        QVERIFY(AllRendered(window.thumbnails(), all));
        for (std::size_t i = 0; i + 1 < all.size(); ++i) QVERIFY(window.thumbnails().Find(i)->isNull());
        QCOMPARE(window.thumbnails().Find(all.size() - 1)->size(), QSize(256, 128));
        auto* grid = window.findChild<orv::view::EntryGrid*>("entryGrid");
        for (int side = orv::view::EntryGrid::kSmallest; side <= orv::view::EntryGrid::kLargest; ++side) {
            grid->SetThumbnailSide(side);
            QVERIFY(!grid->viewport()->grab().isNull());
        }
    }
};

QTEST_MAIN(GridTest)
#include "grid_test.moc"
