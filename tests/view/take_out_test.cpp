// Entries taken out of orvview, into a folder or dragged out, against the files
// orvconv-cli writes for the same archive and choices.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QUrl>
#include <QtTest>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "build_paths.h"
#include "viewer_fixture.h"
#include "random_archive.h"
#include "temp_dir.h"
#include "tools/pack_writer.h"
#include "engine/read/input.h"
#include "view/dragged_files.h"
#include "view/extract_dialog.h"
#include "view/entry_filter.h"
#include "view/entry_model.h"
#include "view/viewer_window.h"

using orv::tools::Bytes;
using orv::tools::BytesOf;
using Tree = FileTree;

namespace {

// The files of a random archive's entries: their names are letter + index, so a file's
// name up to the first '.' or '_' tells the entry.
Tree OfEntries(const Tree& files, const std::set<int>& entries)
{
    Tree kept;
    for (const auto& [name, bytes] : files)
        if (entries.contains(std::stoi(name.substr(1, name.find_first_of("._") - 1)))) kept[name] = bytes;
    return kept;
}

struct Case {
    orv::view::ExtractChoices choices;
    QStringList cliOptions;
};

}  // namespace

// Stands in for the desktop's file manager: the folders it was asked to show.
class FileManager : public QObject {
    Q_OBJECT

public:
    QList<QUrl> shown;

public slots:
    void show(const QUrl& url) { shown << url; }
};

class TakeOutTest : public ViewerFixture {
    Q_OBJECT

private:
    // orvconv-cli's files for the input, converted into folder.
    static Tree Cli(const std::string& input, const std::filesystem::path& folder, QStringList options)
    {
        options << "-q"
                << "-o" << QString::fromStdString(folder.string()) << QString::fromStdString(input);
        QProcess cli;
        cli.start(build_paths::kCli, options);
        if (!cli.waitForFinished(60000) || cli.exitCode() != 0) qWarning() << cli.readAllStandardError();
        return TreeOf(folder / std::filesystem::path(input).stem());
    }

    // Selects these entries (by index of the input) in the window's list.
    static void SelectEntries(orv::view::ViewerWindow& window, const std::set<int>& entries)
    {
        auto* list = window.findChild<QTableView*>("entryList");
        auto* filter = static_cast<orv::view::EntryFilter*>(list->model());
        list->clearSelection();
        for (const int entry : entries)
            list->selectionModel()->select(filter->mapFromSource(window.model().index(entry, 0)),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    static void ExtractAndWait(orv::view::ViewerWindow& window, bool selectedOnly)
    {
        QSignalSpy ended(&window, &orv::view::ViewerWindow::ExtractionEnded);
        window.Extract(selectedOnly);
        QVERIFY(ended.wait(60000));
    }

private slots:
    void init()
    {
        dir = std::make_unique<TempDir>();
        dialogs = FakeDialogs{};
    }

    // The dialog names the folder that will be written and offers only what applies: no
    // animation choices for pictures, speed only for WebP and GIF, columns only for sheets,
    // no raw animations for an animation file, no animation choices with raw animations.
    void theDialogNamesTheFolderWrittenAndOffersWhatApplies()
    {
        orv::view::ExtractChoices choices;
        choices.folder = "/tmp/out";
        const auto enabled = [](orv::view::ExtractDialog& dialog) {
            QStringList names;
            for (const char* name :
                 {"extractFormat", "extractAnimation", "extractAniRaw", "extractFrameMs", "extractSheetColumns"})
                if (dialog.findChild<QWidget*>(name)->isEnabled()) names << QString(name).mid(7);
            return names.join(' ');
        };
        orv::view::ExtractDialog pictures(choices, "t", {"/games/Scenes.DAT", true, true, false});
        QCOMPARE(pictures.findChild<QLabel*>("extractWritten")->text(), QString("Writes into /tmp/out/scenes/"));
        QCOMPARE(enabled(pictures), QString("Format"));
        pictures.findChild<QLineEdit*>("extractFolder")->setText("/elsewhere");
        QCOMPARE(pictures.findChild<QLabel*>("extractWritten")->text(), QString("Writes into /elsewhere/scenes/"));

        orv::view::ExtractDialog archive(choices, "t", {"/games/a.dat", true, false, true});
        QCOMPARE(enabled(archive), QString("Format Animation AniRaw"));
        auto* animation = archive.findChild<QComboBox*>("extractAnimation");
        animation->setCurrentIndex(animation->findData(static_cast<int>(orv::AnimationOutput::Gif)));
        QCOMPARE(enabled(archive), QString("Animation AniRaw FrameMs"));
        animation->setCurrentIndex(animation->findData(static_cast<int>(orv::AnimationOutput::Sheet)));
        QCOMPARE(enabled(archive), QString("Animation AniRaw SheetColumns"));
        archive.findChild<QCheckBox*>("extractAniRaw")->setChecked(true);
        QCOMPARE(enabled(archive), QString("AniRaw"));

        orv::view::ExtractDialog animationFile(choices, "t", {"/games/walk.ani", false, false, true});
        QCOMPARE(enabled(animationFile), QString("Format Animation"));
    }

    // After an extraction the folder written can be shown; the desktop is asked to open it.
    void theFolderWrittenCanBeShownAfterwards()
    {
        FileManager files;
        QDesktopServices::setUrlHandler("file", &files, "show");
        const auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler("file"); });
        orv::view::ViewerWindow window(dialogs);
        QVERIFY(window.OpenInput(Write("shown.dat", orv::tools::BuildPack({{"a.txt", BytesOf("x")}}))));
        auto* show = window.findChild<QPushButton*>("showFilesButton");
        QVERIFY(show->isHidden());
        dialogs.extraction = orv::view::ExtractChoices{};
        dialogs.extraction->folder = QString::fromStdString((dir->path() / "out").string());
        ExtractAndWait(window, false);
        QVERIFY(!show->isHidden());
        QTest::mouseClick(show, Qt::LeftButton);
        QCOMPARE(files.shown,
                 QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString((dir->path() / "out" / "shown").string()))});
        QVERIFY(std::filesystem::exists(dir->path() / "out" / "shown" / "a.txt"));
    }

    // A selection, then everything, each with the choices orvconv-cli takes, give the
    // files orvconv-cli writes for those entries: pictures that show what unselected
    // entries drew before them, animations composed with a settings file.
    void extractionWritesWhatOrvconvCliWrites()
    {
        const Case cases[] = {
            {{{}, orv::AllBmp, orv::AnimationOutput::Frames, false, 100, 0}, {}},
            {{{}, orv::AllPng, orv::AnimationOutput::Webp, false, 70, 0},
             {"-f", "png", "--animation", "webp", "--frame-ms", "70"}},
            {{{}, orv::AllBmp, orv::AnimationOutput::Gif, true, 100, 0}, {"--animation", "gif", "--ani-raw"}},
            {{{}, orv::AllPng, orv::AnimationOutput::Sheet, false, 100, 2},
             {"-f", "png", "--animation", "sheet", "--sheet-columns", "2"}},
        };
        int compared = 0;
        for (unsigned seed = 1; seed <= 4; ++seed) {
            const Case& test = cases[seed - 1];
            RandomArchive random(seed);
            std::string settingsText;
            const int count = random.Int(10, 20);
            const std::string archive = Write("pick.dat", random.Archive(count, 12, settingsText));
            const std::string ini = Write("pick.ini", BytesOf(settingsText));
            const std::filesystem::path run = dir->path() / std::to_string(seed);
            const Tree cli
                = Cli(archive, run / "cli", test.cliOptions + QStringList{"-s", QString::fromStdString(ini)});
            QVERIFY(!cli.empty());

            orv::view::ViewerWindow window(dialogs);
            QVERIFY(window.UseSettings(ini));
            QVERIFY(window.OpenInput(archive));
            // Rows shown in another order than the input's.
            window.findChild<QTableView*>("entryList")->sortByColumn(orv::view::EntryModel::Name, Qt::DescendingOrder);
            std::set<int> picked;
            for (int i = 0; i < count; ++i)
                if (random.Int(0, 2) == 0) picked.insert(i);
            picked.insert(count - 1);
            SelectEntries(window, picked);
            dialogs.extraction = test.choices;
            dialogs.extraction->folder = QString::fromStdString((run / "picked").string());
            ExtractAndWait(window, true);
            QCOMPARE(dialogs.extractionTitle, QString("Extract %1 entries").arg(picked.size()));
            QVERIFY(TreeOf(run / "picked" / "pick") == OfEntries(cli, picked));
            compared += static_cast<int>(OfEntries(cli, picked).size());

            dialogs.extraction->folder = QString::fromStdString((run / "all").string());
            ExtractAndWait(window, false);
            QVERIFY(TreeOf(run / "all" / "pick") == cli);
            QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
        }
        QVERIFY(compared > 10);
    }

    // Cancel ends the work after the entry under way and says so; a folder that cannot
    // be made is an error naming it; a cancelled dialog writes nothing.
    void extractionCancelledOrFailedIsTold()
    {
        std::vector<orv::tools::PackItem> items;
        RandomArchive random(11);
        for (int i = 0; i < 3000; ++i) items.push_back({"p" + std::to_string(i) + ".cg", random.Picture(48)});
        const std::string archive = Write("many.dat", orv::tools::BuildPack(items));
        orv::view::ViewerWindow window(dialogs);
        QVERIFY(window.OpenInput(archive));

        window.Extract(false);
        QVERIFY(!std::filesystem::exists(dir->path() / "many"));

        dialogs.extraction = orv::view::ExtractChoices{};
        dialogs.extraction->folder = QString::fromStdString((dir->path() / "out").string());
        QSignalSpy ended(&window, &orv::view::ViewerWindow::ExtractionEnded);
        window.Extract(false);
        auto* progress = window.findChild<QProgressDialog*>("extractProgress");
        QVERIFY(progress != nullptr);
        progress->findChild<QPushButton*>()->click();
        QVERIFY(ended.wait(60000));
        QVERIFY2(window.statusBar()->currentMessage().contains("cancelled"),
                 qPrintable(window.statusBar()->currentMessage()));
        QVERIFY(FilesIn(dir->path() / "out" / "many").size() < items.size());

        const std::string file = Write("file", BytesOf("x"));
        dialogs.extraction->folder = QString::fromStdString(file);
        ExtractAndWait(window, false);
        QCOMPARE(dialogs.errors.size(), 1);
        QVERIFY2(dialogs.errors[0].contains(QString::fromStdString(file)), qPrintable(dialogs.errors[0]));
    }

    // Dragged entries are the files orvconv-cli writes for them, in a temporary folder
    // that goes when the window does.
    void draggedEntriesAreTheirFilesUntilTheWindowCloses()
    {
        RandomArchive random(21);
        std::string settingsText;
        const std::string archive = Write("drag.dat", random.Archive(16, 12, settingsText));
        const Tree cli = Cli(archive, dir->path() / "cli", {});
        const std::set<int> picked{3, 7, 8, 15};
        Tree dragged;
        std::filesystem::path folder;
        {
            orv::view::ViewerWindow window(dialogs);
            QVERIFY(window.OpenInput(archive));
            SelectEntries(window, picked);
            const std::unique_ptr<QMimeData> data(window.DragData());
            QVERIFY(data != nullptr);
            for (const QUrl& url : data->urls()) {
                const std::filesystem::path file = url.toLocalFile().toStdString();
                dragged[file.filename().string()] = ReadAll(file);
                folder = file.parent_path();
            }
            QVERIFY(std::filesystem::is_directory(folder));
        }
        QVERIFY(dragged == OfEntries(cli, picked));
        QVERIFY(!dragged.empty());
        QVERIFY(!std::filesystem::exists(folder));
    }

    // Dragging starts at once: the files are written on another thread, which here cannot
    // read a byte until the drag has begun, and the drop gets them all once they are there.
    void draggingStartsBeforeTheFilesAreWritten()
    {
        RandomArchive random(22);
        std::string settingsText;
        const Bytes bytes = random.Archive(12, 12, settingsText);
        const std::string archive = Write("gate.dat", bytes);
        const Tree cli = Cli(archive, dir->path() / "cli", {});
        std::mutex mutex;
        std::condition_variable opened;
        bool gated = false;
        bool dragging = false;
        const auto source
            = orv::CallbackSource(bytes.size(), [&](std::uint64_t offset, void* destination, std::uint32_t n) {
                  std::unique_lock lock(mutex);
                  // Without a drag begun after ten seconds, reading goes on and the check below fails.
                  if (gated) opened.wait_for(lock, std::chrono::seconds(10), [&] { return dragging; });
                  std::memcpy(destination, bytes.data() + offset, n);
                  return true;
              });
        auto input = std::make_shared<orv::Input>();
        QCOMPARE(input->Open(source, archive, orv::InputKind::Archive), orv::Input::Opened::Yes);
        gated = true;
        orv::view::ExtractChoices choices;
        choices.folder = QString::fromStdString((dir->path() / "dragged").string());
        std::vector<bool> chosen(12, false);
        chosen[4] = chosen[9] = true;
        QStringList failures;
        orv::view::DraggedFiles files(input, nullptr, choices, chosen, nullptr,
                                      [&](const QString& error) { failures << error; });
        {
            const std::lock_guard lock(mutex);
            QVERIFY(TreeOf(dir->path() / "dragged" / "gate").empty());
            dragging = true;
        }
        opened.notify_all();
        Tree dragged;
        for (const QUrl& url : files.urls())
            dragged[url.fileName().toStdString()] = ReadAll(url.toLocalFile().toStdString());
        QVERIFY(!dragged.empty());
        QVERIFY(dragged == OfEntries(cli, {4, 9}));
        QVERIFY(failures.isEmpty());
    }

    // An archive replaced on disk after it was opened (as orvpack -o replaces one) is still
    // the one shown, extracted and dragged.
    void whatIsTakenOutIsWhatIsShown()
    {
        RandomArchive random(23);
        std::string settingsText;
        const std::string archive = Write("same.dat", random.Archive(10, 12, settingsText));
        const Tree cli = Cli(archive, dir->path() / "cli", {});
        orv::view::ViewerWindow window(dialogs);
        QVERIFY(window.OpenInput(archive));
        const std::string other = Write("other.dat", RandomArchive(24).Archive(10, 12, settingsText));
        std::filesystem::rename(other, archive);

        dialogs.extraction = orv::view::ExtractChoices{};
        dialogs.extraction->folder = QString::fromStdString((dir->path() / "out").string());
        ExtractAndWait(window, false);
        QVERIFY(TreeOf(dir->path() / "out" / "same") == cli);

        SelectEntries(window, {2, 5});
        const std::unique_ptr<QMimeData> data(window.DragData());
        QVERIFY(data != nullptr);
        Tree dragged;
        for (const QUrl& url : data->urls())
            dragged[url.fileName().toStdString()] = ReadAll(url.toLocalFile().toStdString());
        QVERIFY(dragged == OfEntries(cli, {2, 5}));
        QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
    }
};

QTEST_MAIN(TakeOutTest)
#include "take_out_test.moc"
