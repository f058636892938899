#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIcon>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include "build_paths.h"
#include "app/app_text.h"
#include "app/desktop_identity.h"
#include "app/open_dialog.h"
#include "desktop/command_line.h"
#include "desktop/qt_translations.h"
#include "sound_capture.h"
#include "test_classes.h"
#include "window_fixture.h"

using orv::tools::Bytes;
using orv::tools::BytesOf;

namespace {

const std::string kAShiftJis = "\x82\xa0";  // あ: not UTF-8

QUrl FileUrl(const std::string& path)
{
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
}

// Sends a drag entering the window and then the drop, as a file manager does; tells
// whether each was accepted, and as a copy.
struct DropAnswer {
    bool enterAccepted;
    bool dropAccepted;
    Qt::DropAction action;
};

DropAnswer Drop(QWidget& window, const std::vector<std::string>& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths) urls << FileUrl(path);
    data.setUrls(urls);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(10, 10), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(10, 10), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    return {enter.isAccepted(), drop.isAccepted(), drop.dropAction()};
}

// Names the dialog lists in its current folder with its current filter, sorted.
QStringList Listed(QFileDialog& dialog)
{
    auto* model = dialog.findChild<QFileSystemModel*>();
    const QModelIndex folder = model->index(dialog.directory().absolutePath());
    if (model->canFetchMore(folder)) model->fetchMore(folder);
    QStringList names;
    for (int row = 0; row < model->rowCount(folder); ++row) names << model->index(row, 0, folder).data().toString();
    names.sort();
    return names;
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> fixture;

private slots:
    void init() { fixture = std::make_unique<WindowFixture>(); }
    void cleanup() { fixture.reset(); }

    void filesGivenAtStartRunOneBatchWithoutTheDialog()
    {
        const std::string a = fixture->InputPath("a.dat", SmallArchive());
        const std::string b = fixture->InputPath(kAShiftJis + ".DAT", SmallArchive(3));
        const QString here = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(fixture->inputDir().string()));
        std::string arguments[] = {"orvconv", "a.dat", kAShiftJis + ".DAT", "/abs/c.ani"};
        char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(), arguments[3].data()};
        const std::vector<std::string> files = orv::desktop::ReadCommandLine(4, argv, orv::app::kOrvconvTexts).files;
        QDir::setCurrent(here);
        QCOMPARE(files, (std::vector<std::string>{a, b, "/abs/c.ani"}));

        auto window = fixture->MakeWindow();
        window->ConvertFiles({a, b});
        QCOMPARE(fixture->dialogs.chooseCalls, 0);
        QCOMPARE(fixture->dialogs.events, (QStringList{"beep", "message 変換終了しました。"}));
        QCOMPARE(TextOf(*window, "arccountLabel"), QString("[2/2]"));
        QVERIFY(std::filesystem::exists(fixture->exeDir() / "a" / "e1.txt"));
        QVERIFY(std::filesystem::exists(fixture->exeDir() / kAShiftJis / "e2.txt"));

        // As after a selection in the dialog, the next dialog starts with the first file.
        QString firstShown;
        fixture->dialogs.onChoose = [&](QFileDialog& dialog) { firstShown = dialog.selectedFiles().value(0); };
        fixture->dialogs.setNextFiles(std::nullopt);
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(firstShown, QString::fromStdString(a));
    }

    // A file manager's "Open with" hands files over; nothing is written until 変換.
    void filesHandedOverAtStartWaitForTheStartButton()
    {
        const std::string a = fixture->InputPath("a.dat", SmallArchive());
        const std::string b = fixture->InputPath("b.dat", SmallArchive(3));
        auto window = fixture->MakeWindow();
        window->OfferFiles({a, b});
        QCoreApplication::processEvents();
        QVERIFY(!std::filesystem::exists(fixture->exeDir() / "a"));
        QVERIFY(fixture->dialogs.events.isEmpty());
        QCOMPARE(TextOf(*window, "MessageLabel"), QString("変換ボタンで、開いたファイルを変換します。"));
        QVERIFY(TextOf(*window, "arcnameLabel").endsWith("a.dat"));
        QCOMPARE(TextOf(*window, "arccountLabel"), QString("[0/2]"));

        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(fixture->dialogs.chooseCalls, 0);
        QCOMPARE(fixture->dialogs.events, (QStringList{"beep", "message 変換終了しました。"}));
        QVERIFY(std::filesystem::exists(fixture->exeDir() / "b" / "e2.txt"));
        QCOMPARE(TextOf(*window, "MessageLabel"), QString("変換ボタンを押してファイルを選択してください。"));
        // Handed over once: the next 変換 asks in the dialog.
        fixture->dialogs.setNextFiles(std::nullopt);
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(fixture->dialogs.chooseCalls, 1);
    }

    void droppedFilesRunOneBatchAndDropsDuringABatchAreRefused()
    {
        const std::string a = fixture->InputPath("a.dat", SmallArchive(3));
        const std::string b = fixture->InputPath(kAShiftJis + ".dat", SmallArchive());
        const std::string late = fixture->InputPath("late.dat", SmallArchive());
        auto window = fixture->MakeWindow();

        std::optional<DropAnswer> duringBatch;
        window->onPump = [&] {
            if (!duringBatch) duringBatch = Drop(*window, {late});
        };
        const DropAnswer idle = Drop(*window, {a, b});
        QVERIFY(idle.enterAccepted);
        QVERIFY(idle.dropAccepted);
        // A move would let the file manager delete the dropped files.
        QCOMPARE(idle.action, Qt::CopyAction);
        QTRY_COMPARE(fixture->dialogs.events, (QStringList{"beep", "message 変換終了しました。"}));
        QCOMPARE(fixture->dialogs.chooseCalls, 0);
        QCOMPARE(TextOf(*window, "arccountLabel"), QString("[2/2]"));
        QVERIFY(std::filesystem::exists(fixture->exeDir() / "a" / "e2.txt"));
        QVERIFY(std::filesystem::exists(fixture->exeDir() / kAShiftJis / "e1.txt"));

        QVERIFY(duringBatch.has_value());
        QVERIFY(!duringBatch->enterAccepted);
        QVERIFY(!duringBatch->dropAccepted);
        QTest::qWait(50);
        QVERIFY(!std::filesystem::exists(fixture->exeDir() / "late"));
        QCOMPARE(fixture->dialogs.events.size(), 2);
    }

    // A dropped folder stands for the archives and animations directly inside it; one
    // holding none is named as passed over.
    void aDroppedFolderConvertsTheArchivesAndAnimationsInsideIt()
    {
        const std::filesystem::path folder = fixture->inputDir() / "game";
        std::filesystem::create_directories(folder / "deeper");
        orv::tools::WriteFileBytes((folder / "B.DAT").string(), SmallArchive(3));
        orv::tools::WriteFileBytes((folder / "a.dat").string(), SmallArchive());
        orv::tools::WriteFileBytes((folder / "notes.txt").string(), BytesOf("x"));
        orv::tools::WriteFileBytes((folder / "deeper" / "c.dat").string(), SmallArchive());
        const std::filesystem::path empty = fixture->inputDir() / "empty";
        std::filesystem::create_directory(empty);
        auto window = fixture->MakeWindow();

        QVERIFY(Drop(*window, {folder.string(), empty.string()}).dropAccepted);
        QTRY_COMPARE(fixture->dialogs.events,
                     (QStringList{"beep",
                                  "warning 変換しなかったファイルがあります。\n"
                                      + QString::fromStdString(empty.string()) + "（フォルダです）"}));
        QCOMPARE(TextOf(*window, "arccountLabel"), QString("[3/3]"));
        QVERIFY(std::filesystem::exists(fixture->exeDir() / "a" / "e1.txt"));
        QVERIFY(std::filesystem::exists(fixture->exeDir() / "b" / "e2.txt"));
        QVERIFY(!std::filesystem::exists(fixture->exeDir() / "c"));
    }

    // Return and Enter click the focused button, as Space does.
    void enterClicksTheFocusedButton()
    {
        auto window = fixture->MakeWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* start = Find<QPushButton>(*window, "StartButton");
        auto* stop = Find<QPushButton>(*window, "StopButton");
        fixture->dialogs.setNextFiles(std::nullopt);
        start->setFocus();
        QTest::keyClick(start, Qt::Key_Return);
        QCOMPARE(fixture->dialogs.chooseCalls, 1);

        fixture->dialogs.setNextFiles(QStringList{fixture->Input("a.dat", SmallArchive(5))});
        window->onPump = [&] {
            if (!stop->hasFocus()) {
                stop->setFocus();
                QTest::keyClick(stop, Qt::Key_Enter, Qt::KeypadModifier);
            }
        };
        QTest::keyClick(start, Qt::Key_Return);
        QCOMPARE(fixture->dialogs.chooseCalls, 2);
        QCOMPARE(fixture->dialogs.events, (QStringList{"beep", "message 変換中止しました。"}));
    }

    // The filters read as the user knows them; "All files (*.*)" shows names without a dot
    // too. A filter changed in a cancelled dialog is forgotten, one confirmed is kept.
    void dialogFiltersMatchAndOnlyAConfirmedChoiceIsKept()
    {
        for (const char* name : {"a.dat", "B.DAT", "c.Ani", "readme", "x.txt"}) fixture->InputPath(name, BytesOf("x"));
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        orv::app::SetUpOpenDialog(dialog);
        auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
        QCOMPARE(types->count(), 2);
        QCOMPARE(types->itemText(0), QString("ORVENDA 3.2"));
        QCOMPARE(types->itemText(1), QString("All files (*.*)"));
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFiles);

        dialog.setDirectory(QString::fromStdString(fixture->inputDir().string()));
        dialog.selectNameFilter(dialog.nameFilters()[0]);
        QTRY_COMPARE(Listed(dialog), (QStringList{"B.DAT", "a.dat", "c.Ani"}));
        dialog.selectNameFilter(dialog.nameFilters()[1]);
        QTRY_COMPARE(Listed(dialog), (QStringList{"B.DAT", "a.dat", "c.Ani", "readme", "x.txt"}));

        auto window = fixture->MakeWindow();
        QStringList filtersAtOpen;
        const auto changeTo = [&](int filter) {
            return [&, filter](QFileDialog& shown) {
                filtersAtOpen << shown.findChild<QComboBox*>("fileTypeCombo")->currentText();
                shown.selectNameFilter(shown.nameFilters()[filter]);
            };
        };
        fixture->dialogs.onChoose = changeTo(1);
        fixture->dialogs.setNextFiles(std::nullopt);
        Find<QPushButton>(*window, "StartButton")->click();
        fixture->dialogs.setNextFiles(QStringList{fixture->Input("notes", BytesOf("x"))});
        Find<QPushButton>(*window, "StartButton")->click();
        fixture->dialogs.onChoose = changeTo(0);
        fixture->dialogs.setNextFiles(std::nullopt);
        Find<QPushButton>(*window, "StartButton")->click();
        fixture->dialogs.setNextFiles(std::nullopt);
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(filtersAtOpen, (QStringList{"ORVENDA 3.2", "ORVENDA 3.2", "All files (*.*)", "All files (*.*)"}));
    }

    void qtTextsFollowTheLocale()
    {
        const std::unique_ptr<QTranslator> japanese
            = orv::desktop::LoadQtTranslations(QLocale(QLocale::Japanese, QLocale::Japan));
        QVERIFY(japanese != nullptr);
        QCoreApplication::installTranslator(japanese.get());
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        orv::app::SetUpOpenDialog(dialog);
        QStringList texts;
        for (const QPushButton* button : dialog.findChildren<QPushButton*>()) texts << button->text();
        for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
        QCoreApplication::removeTranslator(japanese.get());
        const QString all = texts.join("|");
        QVERIFY2(all.contains("開く"), qPrintable(all));
        QVERIFY2(all.contains("キャンセル"), qPrintable(all));
        QVERIFY2(all.contains("ファイル名"), qPrintable(all));
    }

    // The sound theme's warning event, played through the sound system, which the test
    // program has told to write into a file.
    void theEndOfABatchSoundsTheWarningEvent()
    {
        const std::filesystem::path& played = CapturedSoundFile();
        QVERIFY(!std::filesystem::exists(played));
        orv::app::QtDialogs real;
        real.Beep();
        // A tenth of a second of sound at least, written while the dialogs live.
        QTRY_VERIFY(std::filesystem::exists(played) && std::filesystem::file_size(played) > 10000);
    }

    // An option the window does not know is a usage error, not a file named "-x"; after
    // "--" every argument is a file; --help and --version are answered wherever they stand.
    void unknownOptionsAreUsageErrorsAndDoubleDashEndsOptions()
    {
        const auto read = [](std::vector<std::string> arguments) {
            arguments.insert(arguments.begin(), "orvconv");
            std::vector<char*> argv;
            for (std::string& argument : arguments) argv.push_back(argument.data());
            return orv::desktop::ReadCommandLine(static_cast<int>(argv.size()), argv.data(), orv::app::kOrvconvTexts);
        };
        const orv::desktop::CommandLine unknown = read({"/abs/a.dat", "-x"});
        QVERIFY(unknown.files.empty());
        QCOMPARE(QString::fromStdString(unknown.usageError),
                 QString("orvconv: unknown option -x\nusage: orvconv [FILE...]   (orvconv --help for more)"));
        const orv::desktop::CommandLine ended = read({"--", "/abs/-x.dat", "--", "-"});
        QCOMPARE(ended.usageError, std::string());
        QCOMPARE(ended.files.size(), std::size_t{3});
        QCOMPARE(QString::fromStdString(ended.files[0]), QString("/abs/-x.dat"));
        QVERIFY(ended.files[1].ends_with("/--") && ended.files[2].ends_with("/-"));
    }

    // Message windows belong to the window: a dialog of it (so centred on it, with no taskbar
    // entry of its own), in its font.
    void messageWindowsBelongToTheWindow()
    {
        auto window = fixture->MakeWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        orv::app::QtDialogs real;
        real.SetOwner(window.get());
        QStringList seen;
        const auto look = [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            const QPoint offset = box->frameGeometry().center() - window->frameGeometry().center();
            seen << QString("%1 %2 %3 %4")
                        .arg(box->parentWidget() == window.get() ? "owned" : "free")
                        .arg(box->windowHandle()->transientParent() == window->windowHandle() ? "transient" : "alone")
                        .arg(QFontInfo(box->font()).family() == QFontInfo(window->font()).family() ? "font" : "other")
                        .arg(offset.manhattanLength() <= 2 ? "centred" : "elsewhere");
            box->close();
        };
        QTimer::singleShot(0, look);
        real.ShowMessage("Orvconv", "変換終了しました。", false);
        QTimer::singleShot(0, look);
        real.ShowWarning("Orvconv", "変換しなかったファイルがあります。");
        QCOMPARE(seen, QStringList(2, "owned transient font centred"));
    }

    // However short the text, the box is wide enough for its whole title and the title
    // bar's buttons, which window managers otherwise cut to a few letters.
    void messageBoxesShowTheirTitleInFull()
    {
        orv::app::QtDialogs real;
        const QString title = "「ORVENDA 3.2」変換プログラム";
        int boxWidth = 0;
        int titleWidth = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            QFont bold = box->font();
            bold.setBold(true);
            titleWidth = QFontMetrics(bold).horizontalAdvance(title) + 4 * QFontMetrics(bold).height();
            boxWidth = box->width();
            box->close();
        });
        real.ShowMessage(title, "済", false);
        QVERIFY2(boxWidth >= titleWidth, qPrintable(QString("%1 < %2").arg(boxWidth).arg(titleWidth)));
    }

    // The desktop finds the program's entry and icon by these names: the icon as the package
    // installs it into the theme, drawn from its SVG.
    void theWindowNamesItsDesktopEntryAndIcon()
    {
        const TempDir themes;
        const std::filesystem::path apps = themes.path() / "hicolor" / "scalable" / "apps";
        std::filesystem::create_directories(apps);
        std::filesystem::copy_file(std::filesystem::path(build_paths::kPackagingDir) / "orvconv.svg",
                                   apps / "orvconv.svg");
        orv::tools::WriteFileBytes((themes.path() / "hicolor" / "index.theme").string(),
                                   BytesOf("[Icon Theme]\nName=Hicolor\nDirectories=scalable/apps\n\n"
                                           "[scalable/apps]\nSize=48\nMinSize=16\nMaxSize=512\nType=Scalable\n"));
        // As a desktop has it: a theme, falling back on hicolor, where the package's icon is.
        const QStringList searched = QIcon::themeSearchPaths();
        const QString theme = QIcon::themeName();
        QIcon::setThemeSearchPaths({QString::fromStdString(themes.path().string())});
        QIcon::setThemeName("hicolor");
        orv::app::SetDesktopIdentity();
        const QImage icon = QApplication::windowIcon().pixmap(48, 48).toImage();
        QIcon::setThemeSearchPaths(searched);
        QIcon::setThemeName(theme);
        QCOMPARE(QGuiApplication::desktopFileName(), QString("orvconv"));
        QCOMPARE(icon.size(), QSize(48, 48));
        QSet<QRgb> colours;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x) colours.insert(icon.pixel(x, y));
        QVERIFY2(colours.size() > 2, "the icon is drawn, not blank");
    }

    void messageWindowsShowPlainText()
    {
        orv::app::QtDialogs real;
        QStringList shown;
        const auto readAndClose = [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            auto* label = box->findChild<QLabel*>("qt_msgbox_label");
            int widest = 0;
            for (const QString& line : label->text().split('\n'))
                widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
            // As markup, "<b>x</b>" would be a bold "x" alone, far narrower.
            shown << label->text() + (label->textFormat() == Qt::PlainText ? " plain" : " markup")
                    + (label->sizeHint().width() >= widest ? " whole" : " cut");
            box->close();
        };
        QTimer::singleShot(0, readAndClose);
        real.ShowMessage("Orvconv", "ファイルを開けません！\n<b>x</b>.dat", false);
        QTimer::singleShot(0, readAndClose);
        real.ShowError("Orvconv", "<i>y</i>.");
        QCOMPARE(shown, (QStringList{"ファイルを開けません！\n<b>x</b>.dat plain whole", "<i>y</i>. plain whole"}));
    }
};

int RunDesktopTests(int argc, char** argv)
{
    DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "desktop_test.moc"
