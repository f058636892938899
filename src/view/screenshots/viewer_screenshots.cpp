// viewer_screenshots SAMPLE_DIR OUT_DIR: PNGs of orvview as a user sees it, in OUT_DIR:
// viewer-picture.png (the list and a picture), viewer-grid.png (the entries as thumbnails),
// viewer-animation.png (an animation composed
// with the sample's settings, mid-play), viewer-text.png (a text entry), viewer-sound.png
// (a sound playing, or why it cannot) and viewer-extract.png (the dialog that takes entries
// out). Run it under a window manager; fonts are fixed here, the locale and the scale
// factor by the caller.
// Fails rather than write a picture of a window that was never painted.
#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTableView>
#include <cstdio>
#include <filesystem>
#include <string>

#include "desktop/qt_translations.h"
#include "desktop/screen_shots.h"
#include "view/entry_model.h"
#include "view/extract_dialog.h"
#include "view/viewer_dialogs.h"
#include "view/viewer_translation.h"
#include "view/viewer_window.h"

namespace fs = std::filesystem;

namespace {

using orv::shots::Fail;
using orv::shots::Settle;

// Makes the entry named name current and waits for its preview.
void Select(orv::view::ViewerWindow& window, const QString& name)
{
    auto* list = window.findChild<QTableView*>("entryList");
    QAbstractItemModel* shown = list->model();
    for (int row = 0; row < shown->rowCount(); ++row) {
        if (shown->index(row, 0).data().toString() != name) continue;
        QSignalSpy ready(&window, &orv::view::ViewerWindow::PreviewShown);
        list->setCurrentIndex(shown->index(row, 0));
        if (!ready.wait(orv::shots::kShowLimitMs)) Fail("no preview of " + name.toStdString());
        Settle(300);
        return;
    }
    Fail("no entry " + name.toStdString());
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: viewer_screenshots SAMPLE_DIR OUT_DIR\n");
        return 2;
    }
    const fs::path samples = fs::absolute(argv[1]);
    const fs::path out = fs::absolute(argv[2]);
    QFont font("IPAPGothic");
    font.setPixelSize(12);
    QApplication::setFont(font);

    const std::unique_ptr<QTranslator> texts = orv::view::InstallViewerTranslation(QLocale::system());
    const std::unique_ptr<QTranslator> qtTexts = orv::desktop::LoadQtTranslations(QLocale::system());
    if (qtTexts) QApplication::installTranslator(qtTexts.get());
    orv::view::QtViewerDialogs dialogs;
    orv::view::ViewerWindow window(dialogs);
    // One size to compare runs by, where the screen holds it; else (a large scale factor)
    // the size the window takes for itself.
    if (window.screen()->availableGeometry().size().expandedTo({820, 520})
        == window.screen()->availableGeometry().size())
        window.resize(820, 520);
    window.show();
    orv::shots::WaitUntilShown(window);
    if (!window.UseSettings((samples / "sample.ini").string())) Fail("cannot read sample.ini");
    if (!window.OpenInput((samples / "sample.dat").string())) Fail("cannot open sample.dat");
    Select(window, "title.cg");
    orv::shots::Shoot(window.frameGeometry(), out / "viewer-picture.png");
    window.ShowGrid(true);
    for (std::size_t entry = 0; entry < static_cast<std::size_t>(window.model().rowCount()); ++entry)
        if (!QTest::qWaitFor([&] { return window.thumbnails().Find(entry) != nullptr; }, orv::shots::kShowLimitMs))
            Fail("no thumbnail of entry " + std::to_string(entry));
    Settle(300);
    orv::shots::Shoot(window.frameGeometry(), out / "viewer-grid.png");
    window.ShowGrid(false);
    Select(window, "walk.ani");
    window.findChild<QAbstractButton*>("playButton")->click();
    Settle(250);
    orv::shots::Shoot(window.frameGeometry(), out / "viewer-animation.png");
    Select(window, "タイトル.txt");
    orv::shots::Shoot(window.frameGeometry(), out / "viewer-text.png");
    Select(window, "tone10.pcm");
    if (auto* play = window.findChild<QAbstractButton*>("soundPlay"); play->isEnabled()) play->click();
    Settle(120);
    orv::shots::Shoot(window.frameGeometry(), out / "viewer-sound.png");

    orv::view::ExtractChoices choices;
    choices.folder = QString::fromStdString(samples.string());
    const orv::view::ExtractScope scope{(samples / "sample.dat").string(), true, true, true};
    orv::view::ExtractDialog extract(
        choices, QCoreApplication::translate("orv::view::ViewerWindow", "Extract %1 entries").arg(3), scope, &window);
    extract.show();
    orv::shots::WaitUntilShown(extract);
    Settle(300);
    orv::shots::Shoot(extract.frameGeometry(), out / "viewer-extract.png");
    return 0;
}
