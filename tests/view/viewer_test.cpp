// orvview driven under the offscreen platform: its list as a model, and every preview
// against the files conversion writes, read back by QImage.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QToolBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QToolTip>
#include <QTranslator>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <stop_token>
#include <utility>
#include <vector>

#include "build_paths.h"
#include "engine/convert/converter.h"
#include "engine/read/archive.h"
#include "viewer_fixture.h"
#include "random_archive.h"
#include "settings/settings_file.h"
#include "temp_dir.h"
#include "tools/pack_writer.h"
#include "view/entry_filter.h"
#include "view/entry_model.h"
#include "view/entry_text.h"
#include "view/recent_files.h"
#include "view/viewer_translation.h"
#include "view/viewer_window.h"

using orv::tools::Bytes;
using orv::tools::BytesOf;

namespace {

std::string Numbered(const std::string& stem, int number)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%04d", number);
    return stem + suffix;
}

}  // namespace

class ViewerTest : public ViewerFixture {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Recent files go to a settings file of the tests' own.
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName("orvconv-tests");
        QCoreApplication::setApplicationName("orvview");
    }

    void init()
    {
        QSettings().clear();
        dir = std::make_unique<TempDir>();
        dialogs.errors.clear();
    }

    void theListIsAModelThatSortsNaturallyAndFilters()
    {
        std::vector<orv::tools::PackItem> items;
        for (const char* name : {"f10.bin", "F1.bin", "f2.bin", "title.cg", "bgm.pcm"}) items.push_back({name, {1, 2}});
        const std::string archive = Write("list.dat", orv::tools::BuildPack(items));
        orv::view::EntryModel model;
        orv::view::EntryFilter filter;
        filter.setSourceModel(&model);
        QAbstractItemModelTester sourceTester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester shownTester(&filter, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.Open(archive), orv::Input::Opened::Yes);
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(model.index(4, orv::view::EntryModel::Kind).data().toString(), QString("sound"));

        filter.sort(orv::view::EntryModel::Name);
        QStringList names;
        for (int row = 0; row < filter.rowCount(); ++row) names << filter.index(row, 0).data().toString();
        QCOMPARE(names, (QStringList{"bgm.pcm", "F1.bin", "f2.bin", "f10.bin", "title.cg"}));
        filter.setFilterFixedString("F1");
        QCOMPARE(filter.rowCount(), 2);  // F1.bin and f10.bin
        QCOMPARE(model.Open(Write("not.dat", BytesOf("not an archive"))), orv::Input::Opened::NotAnInput);
        QCOMPARE(model.rowCount(), 0);
    }

    void eachKindIsNamedAsTheEngineAndTheDocumentationNameIt()
    {
        // Untranslated, the list's words are the engine's one name of each kind, the words
        // the README gives for orv.Entry.kind.
        const std::vector<std::pair<orv::EntryKind, QString>> documented{{orv::EntryKind::Picture, "picture"},
                                                                         {orv::EntryKind::Animation, "animation"},
                                                                         {orv::EntryKind::Sound, "sound"},
                                                                         {orv::EntryKind::Other, "other"}};
        for (const auto& [kind, word] : documented) {
            QCOMPARE(orv::view::EntryModel::KindText(kind), word);
            QCOMPARE(QString(orv::EntryKindName(kind)), word);
        }
    }

    // Pictures whose pixels depend on the entries before them, animations composed with a
    // settings file, sounds and raw entries, previewed in a shuffled order: each preview
    // is what conversion writes for that entry.
    void everyPreviewIsWhatConversionWrites()
    {
        int pictures = 0;
        for (unsigned seed = 1; seed <= 6; ++seed) {
            RandomArchive random(seed);
            std::string settingsText;
            const std::string archive
                = Write("set" + std::to_string(seed) + ".dat", random.Archive(random.Int(4, 16), 12, settingsText));
            const std::string ini = Write("set.ini", BytesOf(settingsText));
            const std::unique_ptr<orv::SettingsFile> settings = orv::SettingsFile::Load(ini);
            const std::string out = (dir->path() / "out").string() + "/";
            std::filesystem::create_directories(out);
            Convert(archive, out, settings.get());
            const std::filesystem::path folder = dir->path() / "out" / ("set" + std::to_string(seed));

            orv::view::ViewerWindow window(dialogs);
            QVERIFY(window.UseSettings(ini));
            QVERIFY(window.OpenInput(archive));
            std::vector<int> rows(static_cast<std::size_t>(window.model().rowCount()));
            for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
            std::shuffle(rows.begin(), rows.end(), std::mt19937(seed));
            for (const int row : rows) {
                Select(window, row);
                const orv::InputEntry& entry = window.model().entry(row);
                const std::string stem = entry.shown.substr(0, entry.shown.rfind('.'));
                const orv::view::Preview& preview = window.preview();
                const QByteArray where = QByteArray::fromStdString(entry.shown + " seed " + std::to_string(seed));
                switch (preview.kind) {
                case orv::view::Preview::Kind::Picture:
                    QVERIFY2(preview.picture == Written(folder / (stem + ".bmp")), where);
                    ++pictures;
                    break;
                case orv::view::Preview::Kind::Frames:
                    for (const orv::view::PreviewFrame& frame : preview.frames) {
                        if (frame.image.isNull()) continue;
                        const std::string file = Numbered(stem, static_cast<int>(frame.number)) + ".bmp";
                        QVERIFY2(frame.image == Written(folder / file), where + " " + QByteArray::fromStdString(file));
                        ++pictures;
                    }
                    break;
                case orv::view::Preview::Kind::Error: QFAIL(qPrintable(preview.error)); break;
                default: break;
                }
            }
        }
        QVERIFY2(pictures > 20, qPrintable(QString::number(pictures)));
    }

    // What opened is remembered, most recent first, once each; what did not open is not.
    void openedFilesAreRemembered()
    {
        const std::string first = Write("first.dat", orv::tools::BuildPack({{"a.txt", BytesOf("a")}}));
        const std::string second = Write("second.ani", RandomArchive(3).Animation(8, 2));
        orv::view::ViewerWindow window(dialogs);
        QVERIFY(window.OpenInput(first));
        QVERIFY(window.OpenInput(second));
        QVERIFY(!window.OpenInput(Write("notes.txt", BytesOf("x"))));
        QCOMPARE(orv::view::RecentFiles().List(), (std::vector<std::string>{second, first}));
        QVERIFY(window.OpenInput(first));
        QCOMPARE(orv::view::RecentFiles().List(), (std::vector<std::string>{first, second}));
        for (int i = 0; i < 12; ++i) orv::view::RecentFiles().Add("/x/" + std::to_string(i) + ".dat");
        QCOMPARE(orv::view::RecentFiles().List().size(), orv::view::RecentFiles::kKept);
        QCOMPARE(orv::view::RecentFiles().List().front(), std::string("/x/11.dat"));
    }

    // A file replaced on disk after it was opened, or written over, is told; Reload opens
    // what is there now.
    void aFileChangedOnDiskIsToldAndReloads()
    {
        const std::string path = Write("changing.dat", orv::tools::BuildPack({{"a.txt", BytesOf("a")}}));
        orv::view::ViewerWindow window(dialogs);
        window.show();
        QVERIFY(window.OpenInput(path));
        auto* bar = window.findChild<QWidget*>("changedBar");
        QVERIFY(bar != nullptr && !bar->isVisible());

        const std::string other
            = Write("other.dat", orv::tools::BuildPack({{"b.txt", BytesOf("b")}, {"c.txt", BytesOf("c")}}));
        std::filesystem::rename(other, path);
        QTRY_VERIFY_WITH_TIMEOUT(bar->isVisible(), 10000);
        QCOMPARE(window.model().rowCount(), 1);
        bar->findChild<QPushButton*>("reloadButton")->click();
        QCOMPARE(window.model().rowCount(), 2);
        QVERIFY(!bar->isVisible());

        // Written over in place, with bytes of another length.
        orv::tools::WriteFileBytes(path, orv::tools::BuildPack({{"d.txt", BytesOf("dd")}}));
        QTRY_VERIFY_WITH_TIMEOUT(bar->isVisible(), 10000);
        QCOMPARE(window.model().rowCount(), 2);
    }

    // The arrow keys move the preview along the list as it is sorted and filtered.
    void arrowsMoveThePreviewAlongTheListAsShown()
    {
        std::vector<orv::tools::PackItem> items;
        for (const char* name : {"b10.txt", "b2.txt", "a.txt", "b1.txt"}) items.push_back({name, BytesOf(name)});
        orv::view::ViewerWindow window(dialogs);
        window.show();
        QSignalSpy shown(&window, &orv::view::ViewerWindow::PreviewShown);
        QVERIFY(window.OpenInput(Write("keys.dat", orv::tools::BuildPack(items))));
        QVERIFY(shown.wait(20000));
        auto* list = window.findChild<QTableView*>("entryList");
        list->sortByColumn(orv::view::EntryModel::Name, Qt::AscendingOrder);
        window.findChild<QLineEdit*>("filterEdit")->setText("b");
        list->setFocus();
        const auto previewed = [&] {
            return QString::fromStdString(window.model().entry(static_cast<int>(window.preview().entry)).shown);
        };
        QTest::keyClick(list, Qt::Key_Home, Qt::ControlModifier);
        QTRY_COMPARE(previewed(), QString("b1.txt"));
        QTest::keyClick(list, Qt::Key_Down);
        QTRY_COMPARE(previewed(), QString("b2.txt"));
        QTest::keyClick(list, Qt::Key_Down);
        QTRY_COMPARE(previewed(), QString("b10.txt"));
        QTest::keyClick(list, Qt::Key_Up);
        QTRY_COMPARE(previewed(), QString("b2.txt"));
    }

    // The frame shown goes to the clipboard as image data, and into a PNG file named after it.
    void theShownFrameIsCopiedAndSaved()
    {
        const std::string animation = Write("walk.ani", RandomArchive(5).Animation(12, 4));
        orv::view::ViewerWindow window(dialogs);
        QSignalSpy shown(&window, &orv::view::ViewerWindow::PreviewShown);
        QVERIFY(window.OpenInput(animation));
        QVERIFY(shown.wait(20000));
        QVERIFY(!window.ShownImage().isNull());
        window.CopyShown();
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB888), window.ShownImage());
        dialogs.savePng = QString::fromStdString((dir->path() / "frame.png").string());
        window.SaveShown();
        QCOMPARE(dialogs.suggested,
                 QString("walk_%1.png").arg(window.preview().frames[0].number, 4, 10, QLatin1Char('0')));
        QCOMPARE(QImage(*dialogs.savePng).convertToFormat(QImage::Format_RGB888), window.ShownImage());
    }

    // The viewer speaks the desktop's language: Japanese where the locale is, English else.
    void theTextsFollowTheLocale()
    {
        const auto texts = [this] {
            orv::view::ViewerWindow window(dialogs);
            QStringList shown;
            for (const QAction* action : window.findChild<QToolBar*>("mainToolBar")->actions())
                if (!action->text().isEmpty()) shown << action->text();
            shown << window.model().headerData(orv::view::EntryModel::Name, Qt::Horizontal).toString();
            shown << window.findChild<QLineEdit*>("filterEdit")->placeholderText();
            return shown;
        };
        QVERIFY(orv::view::InstallViewerTranslation(QLocale(QLocale::English)) == nullptr);
        QCOMPARE(texts().mid(0, 2), (QStringList{"Open…", "Settings…"}));
        {
            const std::unique_ptr<QTranslator> japanese = orv::view::InstallViewerTranslation(QLocale("ja_JP"));
            QVERIFY(japanese != nullptr);
            const QStringList shown = texts();
            QCOMPARE(shown.mid(0, 2), (QStringList{"開く…", "設定ファイル…"}));
            QVERIFY(shown.contains("名前"));
            QVERIFY(shown.contains("名前で絞り込み"));
        }
        QCOMPARE(texts().mid(0, 2), (QStringList{"Open…", "Settings…"}));
    }

    // The File menu makes orvview the desktop's choice for both file types again, for this
    // user, after another application was chosen for them.
    void orvviewBecomesTheDefaultAgainAfterAnotherChoice()
    {
        const std::filesystem::path data = dir->path() / "data";
        std::filesystem::create_directories(data / "applications");
        std::filesystem::create_directories(data / "mime" / "packages");
        for (const char* file : {"orvview.desktop", "orvconv.desktop"})
            std::filesystem::copy(std::filesystem::path(build_paths::kPackagingDir) / file,
                                  data / "applications" / file);
        std::filesystem::copy(std::filesystem::path(build_paths::kPackagingDir) / "orvconv-mime.xml",
                              data / "mime" / "packages" / "orvconv-mime.xml");
        const auto run = [](const QString& program, const QStringList& arguments) {
            QProcess process;
            process.start(program, arguments);
            process.waitForFinished();
            return QString::fromUtf8(process.readAllStandardOutput());
        };
        run("update-desktop-database", {QString::fromStdString((data / "applications").string())});
        run("update-mime-database", {QString::fromStdString((data / "mime").string())});
        // The desktop as a user's session has it, with the programs on the PATH, for this
        // test only.
        std::vector<std::pair<const char*, QByteArray>> kept;
        for (const char* name : {"XDG_DATA_DIRS", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "PATH"})
            kept.emplace_back(name, qgetenv(name));
        const auto restore = qScopeGuard([&kept] {
            for (const auto& [name, value] : kept) value.isNull() ? qunsetenv(name) : qputenv(name, value);
        });
        qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(data.string()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((dir->path() / "home").string()));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((dir->path() / "config").string()));
        qputenv("PATH", QByteArray(build_paths::kBinDir) + ":" + qgetenv("PATH"));

        run("xdg-mime",
            {"default", "orvconv.desktop", "application/x-orvenda-pack", "application/x-orvenda-animation"});
        QCOMPARE(run("xdg-mime", {"query", "default", "application/x-orvenda-pack"}).trimmed(),
                 QString("orvconv.desktop"));

        orv::view::ViewerWindow window(dialogs);
        QAction* makeDefault = nullptr;
        for (QAction* action : window.findChildren<QAction*>())
            if (action->text() == "Open .dat and .ani Files with orvview") makeDefault = action;
        QVERIFY(makeDefault != nullptr);
        makeDefault->trigger();
        QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
        for (const QString type : {"application/x-orvenda-pack", "application/x-orvenda-animation"}) {
            QCOMPARE(run("xdg-mime", {"query", "default", type}).trimmed(), QString("orvview.desktop"));
            const QString gio = run("gio", {"mime", type});
            QVERIFY2(gio.contains(QString("“%1”: orvview.desktop").arg(type)), qPrintable(gio));
        }
    }

    void otherEntriesShowAsCp932TextOrHex()
    {
        QCOMPARE(orv::view::Cp932Text(QByteArray("\x83\x5e\x83\x43\x83\x67\x83\x8b\r\nA")), QString("タイトル\r\nA"));
        const QByteArray bytes("AB\x00\x7f"
                               "0123456789abcdefXYZ",
                               23);
        QCOMPARE(orv::view::HexDump(bytes, 1024),
                 QString("00000000  41 42 00 7f 30 31 32 33 34 35 36 37 38 39 61 62  AB..0123456789ab\n"
                         "00000010  63 64 65 66 58 59 5a                             cdefXYZ\n"));
        QCOMPARE(orv::view::HexDump(bytes, 16).section('\n', 1), QString("… 7 more bytes"));
    }

    // The settings dialog opens beside the input; "No Settings" goes back to none.
    void settingsAreSoughtBesideTheInputAndCanBeDropped()
    {
        std::filesystem::create_directory(dir->path() / "game");
        const std::string archive = Write("game/scenes.dat", orv::tools::BuildPack({{"a.txt", BytesOf("x")}}));
        dialogs.settings = QString::fromStdString(Write("game/scenes.ini", BytesOf("[a.ani]\np2=1\n")));
        orv::view::ViewerWindow window(dialogs);
        QVERIFY(window.OpenInput(archive));
        QAction* choose = nullptr;
        QAction* none = nullptr;
        for (QAction* action : window.findChild<QToolBar*>("mainToolBar")->actions()) {
            if (action->text() == "Settings…") choose = action;
            if (action->text() == "No Settings") none = action;
        }
        QVERIFY(choose != nullptr && none != nullptr);
        QVERIFY(!none->isEnabled());
        choose->trigger();
        QCOMPARE(dialogs.settingsFolder, QString::fromStdString((dir->path() / "game").string() + "/"));
        auto* label = window.findChild<QLabel*>("settingsLabel");
        QCOMPARE(label->text(), QString("scenes.ini"));
        QCOMPARE(label->toolTip(), *dialogs.settings);
        QVERIFY(none->isEnabled());
        none->trigger();
        QCOMPARE(label->text(), QString("no settings"));
        QVERIFY(!none->isEnabled());
    }

    // In either language the columns are as wide as their texts; a text its column cuts
    // (one the user narrowed) is shown whole as the cell's tooltip.
    void columnsFitTheirTextsInEitherLanguageAndCutTextsShowWhole()
    {
        Bytes sound{0, 0, 0, 7};
        sound.resize(4 + 44100);
        const std::string archive = Write(
            "looks.dat",
            orv::tools::BuildPack(
                {{"a.txt", BytesOf("x")}, {"walk.ani", RandomArchive(5).Animation(12, 2)}, {"voice.pcm", sound}}));
        for (const char* language : {"en", "ja_JP"}) {
            const std::unique_ptr<QTranslator> texts = orv::view::InstallViewerTranslation(QLocale(language));
            orv::view::ViewerWindow window(dialogs);
            window.show();
            QVERIFY(window.OpenInput(archive));
            auto* list = window.findChild<QTableView*>("entryList");
            const QFontMetrics metrics = list->fontMetrics();
            for (const int column :
                 {orv::view::EntryModel::Name, orv::view::EntryModel::Kind, orv::view::EntryModel::Size}) {
                const QString header = window.model().headerData(column, Qt::Horizontal).toString();
                QVERIFY2(list->columnWidth(column) >= list->horizontalHeader()->fontMetrics().horizontalAdvance(header),
                         qPrintable(header));
                for (int row = 0; row < 3; ++row) {
                    const QString text = window.model().index(row, column).data().toString();
                    QVERIFY2(list->columnWidth(column) >= metrics.horizontalAdvance(text) + 6, qPrintable(text));
                }
            }
            const auto tipAt = [&](int row) {
                QToolTip::hideText();
                const QModelIndex cell = list->model()->index(row, orv::view::EntryModel::Kind);
                const QPoint centre = list->visualRect(cell).center();
                QHelpEvent help(QEvent::ToolTip, centre, list->viewport()->mapToGlobal(centre));
                QCoreApplication::sendEvent(list->viewport(), &help);
                return QToolTip::isVisible() ? QToolTip::text() : QString();
            };
            QCOMPARE(tipAt(1), QString());
            list->setColumnWidth(orv::view::EntryModel::Kind, metrics.horizontalAdvance("a"));
            QCOMPARE(tipAt(1), window.model().index(1, orv::view::EntryModel::Kind).data().toString());
        }
    }

    // The first window lies within the screen's free area, whatever its size.
    void theFirstWindowFitsTheScreen()
    {
        orv::view::ViewerWindow window(dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect free = window.screen()->availableGeometry();
        QVERIFY2(free.contains(window.geometry()),
                 qPrintable(QString("%1×%2 on %3×%4")
                                .arg(window.width())
                                .arg(window.height())
                                .arg(free.width())
                                .arg(free.height())));
    }

    // A cut-short archive is told as orvconv-cli tells it, its rows past the end are marked,
    // and they preview as conversion reads them.
    void aCutShortArchiveIsToldAndItsRowsPastTheEndMarked()
    {
        Bytes bytes = orv::tools::BuildPack({{"a.txt", BytesOf("first")}, {"b.txt", BytesOf("second entry")}});
        bytes.resize(bytes.size() - 4);
        const std::string path = Write("cut.dat", bytes);
        orv::view::ViewerWindow window(dialogs);
        window.show();
        QVERIFY(window.OpenInput(path));
        auto* bar = window.findChild<QLabel*>("pastEndBar");
        QVERIFY(bar->isVisible());
        QVERIFY2(bar->text().startsWith(QString::fromStdString(path) + ": the file is cut short"),
                 qPrintable(bar->text()));
        const auto marked = [&](int row) {
            return !window.model().index(row, orv::view::EntryModel::Name).data(Qt::ToolTipRole).isNull();
        };
        QVERIFY(!marked(0));
        QVERIFY(marked(1));
        Select(window, 1);
        QCOMPARE(window.preview().bytes, QByteArray("second e"));

        QVERIFY(window.OpenInput(Write("whole.dat", orv::tools::BuildPack({{"a.txt", BytesOf("x")}}))));
        QVERIFY(!bar->isVisible());
    }

    // Each entry starts as what it reads as: valid UTF-8 as UTF-8, other text as CP932, the
    // encoding named and switchable; bytes that are no text as a hex dump in a fixed font.
    void textIsReadInItsEncodingAndBinaryAsHex()
    {
        const std::string archive
            = Write("texts.dat",
                    orv::tools::BuildPack({{"utf8.txt", {0xe6, 0x97, 0xa5, 0xe6, 0x9c, 0xac}},
                                           {"sjis.txt", {0x83, 0x5e, 0x83, 0x43, 0x83, 0x67, 0x83, 0x8b}},
                                           {"data.bin", {0x00, 0x01, 0x02, 0x41}}}));
        orv::view::ViewerWindow window(dialogs);
        QVERIFY(window.OpenInput(archive));
        auto* text = window.findChild<QPlainTextEdit*>("entryText");
        auto* encoding = window.findChild<QComboBox*>("textEncoding");
        Select(window, 0);
        QCOMPARE(text->toPlainText(), QString("日本"));
        QCOMPARE(encoding->currentText(), QString("UTF-8"));
        Select(window, 1);
        QCOMPARE(text->toPlainText(), QString("タイトル"));
        QCOMPARE(encoding->currentText(), QString("CP932"));
        encoding->setCurrentText("UTF-8");
        QVERIFY(text->toPlainText().contains(QChar::ReplacementCharacter));
        Select(window, 2);
        QCOMPARE(text->toPlainText().section('\n', 0, 0), QString("00000000  00 01 02 41") + QString(38, ' ') + "...A");
        QVERIFY(QFontInfo(text->font()).fixedPitch());
        Select(window, 0);
        QCOMPARE(text->toPlainText(), QString("日本"));
    }

    // Nothing but archives and animation files opens; hostile tables never hang the window.
    void whatIsNoInputIsToldAndHostileInputsEndQuickly()
    {
        orv::view::ViewerWindow window(dialogs);
        QVERIFY(!window.OpenInput(Write("notes.txt", BytesOf("x"))));
        QVERIFY(!window.OpenInput(Write("fake.dat", BytesOf("no archive"))));
        QVERIFY(!window.OpenInput((dir->path() / "gone.dat").string()));
        QCOMPARE(dialogs.errors.size(), 3);
        QVERIFY(dialogs.errors[2].contains("No such file or directory"));

        RandomArchive random(9);
        std::string settings;
        Bytes archive = random.Archive(8, 10, settings);
        archive.resize(archive.size() / 2);
        for (int b = 16; b < 24; ++b) archive[6 + b] = 0xFF;  // the first record claims gigabytes
        QVERIFY(window.OpenInput(Write("cut.dat", archive)));
        for (int row = 0; row < window.model().rowCount(); ++row) Select(window, row);
    }
};

QTEST_MAIN(ViewerTest)
#include "viewer_test.moc"
