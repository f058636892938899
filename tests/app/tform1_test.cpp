#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QMenu>
#include <QtTest>
#include <sys/stat.h>

#include "tools/ani_writer.h"
#include "app/app_text.h"
#include "tools/cg_encoder.h"
#include "test_classes.h"
#include "window_fixture.h"

using orv::tools::Bytes;
using orv::tools::BytesOf;

namespace {

// Columns of an image holding ink: a pixel darker than mid-grey.
int InkColumns(const QImage& image)
{
    int columns = 0;
    for (int x = 0; x < image.width(); ++x) {
        bool ink = false;
        for (int y = 0; y < image.height() && !ink; ++y) ink = qGray(image.pixel(x, y)) < 128;
        columns += ink ? 1 : 0;
    }
    return columns;
}

// The label's text drawn as the label draws it, right-aligned at the same right edge, but
// with room to spare on the left, where nothing cuts it off.
QImage DrawnFreely(const QLabel& label)
{
    QLabel wide;
    wide.setTextFormat(Qt::PlainText);
    wide.setFont(label.font());
    wide.setAlignment(label.alignment());
    wide.setText(label.text());
    wide.resize(label.width() + 100, label.height());
    return wide.grab().toImage();
}

// A two-frame animation of 2 x 1 pictures, made by the project's own encoder.
Bytes TwoFrameAnimation()
{
    orv::tools::CgPicture picture;
    picture.width = 2;
    picture.height = 1;
    picture.pixels = {1, 2};
    picture.palette[3] = 0xFF;
    picture.palette[8] = 0xFF;
    const Bytes frame = orv::tools::EncodeCg(picture);
    return orv::tools::BuildAnimation({frame, frame});
}

}  // namespace

class TForm1Test : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> fixture;

    std::filesystem::path exeDir() const { return fixture->exeDir(); }
    FakeDialogs& dialogs() { return fixture->dialogs; }
    std::unique_ptr<ObservedWindow> MakeWindow() { return fixture->MakeWindow(); }
    QString Input(const std::string& name, const Bytes& bytes) { return fixture->Input(name, bytes); }

private slots:
    void init() { fixture = std::make_unique<WindowFixture>(); }
    void cleanup() { fixture.reset(); }

    void layoutMatchesTheDesign()
    {
        auto window = MakeWindow();
        QCOMPARE(window->windowTitle(), QString("「ORVENDA 3.2」変換プログラム"));
        QCOMPARE(window->minimumSize(), QSize(366, 376));
        QCOMPARE(window->maximumSize(), QSize(366, 376));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));

        // Labels of one line are as tall as a line of the substitute font, never less than designed.
        const int line = std::max(12, QFontMetrics(window->font()).height());
        struct Place {
            const char* name;
            QRect geometry;
        };
        for (const Place& place :
             {Place{"filenameLabel", {32, 48, 329, line}}, Place{"ProgressBar", {72, 72, 289, 17}},
              Place{"arcnameLabel", {32, 104, 329, line}}, Place{"ProgressBar1", {72, 128, 289, 17}},
              Place{"StartButton", {72, 163, 71, 33}}, Place{"StopButton", {206, 163, 72, 33}},
              Place{"outputRG", {16, 216, 329, 89}}, Place{"Label1", {24, 324, 65, line}},
              Place{"iniCB", {96, 320, 145, 20}}, Place{"axonlyCB", {24, 352, 129, 17}}}) {
            QCOMPARE(Find<QWidget>(*window, place.name)->geometry(), place.geometry);
        }
        QCOMPARE(Find<QWidget>(*window, "MessageLabel")->pos(), QPoint(26, 19));
        QCOMPARE(TextOf(*window, "MessageLabel"), QString("変換ボタンを押してファイルを選択してください。"));
        QCOMPARE(TextOf(*window, "filenameLabel"), QString("変換先"));
        QCOMPARE(TextOf(*window, "arcnameLabel"), QString("変換元"));
        QCOMPARE(TextOf(*window, "Label1"), QString("設定ファイル"));
        QCOMPARE(Find<QPushButton>(*window, "StartButton")->text(), QString("変換"));
        QCOMPARE(Find<QPushButton>(*window, "StopButton")->text(), QString("中止"));
        QCOMPARE(Find<QCheckBox>(*window, "axonlyCB")->text(), QString("ANIファイルで出力"));
        QVERIFY(!Find<QCheckBox>(*window, "axonlyCB")->isChecked());
        QCOMPARE(Find<QGroupBox>(*window, "outputRG")->title(), QString("出力オプション"));
        QCOMPARE(Find<QRadioButton>(*window, "outputRG_0")->text(), QString("全てBMPで出力"));
        QCOMPARE(Find<QRadioButton>(*window, "outputRG_1")->text(), QString("全てPNGで出力"));
        QCOMPARE(Find<QRadioButton>(*window, "outputRG_2")->text(), QString("α付きはPNGで出力(他はBMPで出力)"));
        QVERIFY(Find<QRadioButton>(*window, "outputRG_0")->isChecked());
        QVERIFY(Find<QPushButton>(*window, "StartButton")->isEnabled());
        QVERIFY(!Find<QPushButton>(*window, "StopButton")->isEnabled());
        QVERIFY(!Find<QComboBox>(*window, "iniCB")->isEditable());

        for (const char* counter : {"filecountLabel", "arccountLabel"}) {
            auto* label = Find<QLabel>(*window, counter);
            QCOMPARE(label->text(), QString("[0/0]"));
            QCOMPARE(label->geometry().x() + label->geometry().width(), 70);
            QVERIFY(label->alignment() & Qt::AlignRight);
        }
        for (const char* name : {"ProgressBar", "ProgressBar1"}) {
            auto* bar = Find<QProgressBar>(*window, name);
            QCOMPARE(bar->minimum(), 0);
            QCOMPARE(bar->maximum(), 100);
            QCOMPARE(bar->value(), 0);
        }

        QCOMPARE(window->font().pixelSize(), 12);
        QCOMPARE(Find<QLabel>(*window, "MessageLabel")->font().pixelSize(), 16);
        // fontconfig gives the face's Japanese name under a Japanese locale.
        QVERIFY(QStringList({"IPAPGothic", "IPA Pゴシック"}).contains(QFontInfo(window->font()).family()));
    }

    // Of an exclusive group only the checked option takes the focus; wherever it is, the
    // order is Start, Stop, the option, the check box, the drop-down.
    void tabOrderHoldsWhicheverOptionIsChecked_data()
    {
        QTest::addColumn<int>("option");
        QTest::newRow("all BMP") << 0;
        QTest::newRow("all PNG") << 1;
        QTest::newRow("PNG for alpha") << 2;
    }
    void tabOrderHoldsWhicheverOptionIsChecked()
    {
        QFETCH(int, option);
        auto window = MakeWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const QString checked = QString("outputRG_%1").arg(option);
        QTest::mouseClick(Find<QRadioButton>(*window, checked.toUtf8().constData()), Qt::LeftButton);
        // Stop takes part in the order, although idle and converting never enable it with the options.
        Find<QPushButton>(*window, "StopButton")->setEnabled(true);
        Find<QPushButton>(*window, "StartButton")->setFocus();

        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, (QStringList{"StartButton", "StopButton", checked, "axonlyCB", "iniCB", "StartButton"}));
    }

    void titlesFoldersAndErrorTexts()
    {
        QCOMPARE(QString::fromStdString(orv::app::ProgramTitle("C/tools/AB.EXE")), QString("Ab"));
        QCOMPARE(QString::fromStdString(orv::app::ProgramTitle("/opt/orvconv")), QString("orvconv"));
        QCOMPARE(QString::fromStdString(orv::app::ProgramTitle("/opt/My.Conv.exe")), QString("My"));
        QCOMPARE(QString::fromStdString(orv::app::ErrorDisplayText("cannot open")), QString("cannot open."));
        QCOMPARE(QString::fromStdString(orv::app::ErrorDisplayText("ends.")), QString("ends."));
        QCOMPARE(QString::fromStdString(orv::app::ErrorDisplayText("wow!")), QString("wow!"));
        QCOMPARE(QString::fromStdString(orv::app::ErrorDisplayText("")), QString(""));
        QCOMPARE(QString::fromStdString(orv::app::ErrorDisplayText("開けません")), QString("開けません."));
        auto window = MakeWindow();
        QCOMPARE(QString::fromStdString(window->programTitle()), QString("Orvconv"));
        QCOMPARE(QString::fromStdString(window->exeDir()), QString::fromStdString(exeDir().string() + "/"));
    }

    void settingsFilesFillTheDropDown()
    {
        auto empty = MakeWindow();
        QCOMPARE(Find<QComboBox>(*empty, "iniCB")->count(), 0);
        QCOMPARE(Find<QComboBox>(*empty, "iniCB")->currentIndex(), -1);

        orv::tools::WriteFileBytes((exeDir() / "walk.ini").string(), BytesOf("[walk.ani]\n"));
        std::filesystem::create_directory(exeDir() / "folder.ini");
        auto window = MakeWindow();
        QCOMPARE(Find<QComboBox>(*window, "iniCB")->count(), 2);
        QCOMPARE(Find<QComboBox>(*window, "iniCB")->itemText(0), QString("設定ファイルなし"));
        QCOMPARE(Find<QComboBox>(*window, "iniCB")->currentIndex(), 1);
        QCOMPARE(Find<QComboBox>(*window, "iniCB")->currentText(), QString("walk.ini"));
    }

    // The first item runs a batch as if there were no settings files.
    void theNoSettingsItemComposesWithoutSettings()
    {
        orv::tools::WriteFileBytes((exeDir() / "left.ini").string(), BytesOf("[w.ani]\np2=2\n"));
        auto window = MakeWindow();
        Find<QComboBox>(*window, "iniCB")->setCurrentIndex(0);
        dialogs().setNextFiles(QStringList{Input("p.dat", orv::tools::BuildPack({{"w.ani", TwoFrameAnimation()}}))});
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(dialogs().events, (QStringList{"beep", "message 変換終了しました。"}));
        // Without p2=2, frame 2 is written.
        QVERIFY(std::filesystem::exists(exeDir() / "p" / "w_0002.bmp"));
    }

    // An installed window cannot write beside its executable (here: a folder that does not
    // exist): output folders and settings files are then in the user's own folder.
    void anExecutableFolderThatCannotBeWrittenGivesTheUsersFolder()
    {
        const std::filesystem::path own = exeDir() / "home";
        qputenv("ORVCONV_HOME", QByteArray::fromStdString(own.string()));
        std::filesystem::create_directory(own);
        orv::tools::WriteFileBytes((own / "mine.ini").string(), BytesOf("[w.ani]\np2=2\n"));
        orv::app::TForm1 window(dialogs(), (exeDir() / "missing" / "orvconv").string());
        qunsetenv("ORVCONV_HOME");
        QCOMPARE(QString::fromStdString(window.exeDir()), QString::fromStdString(own.string() + "/"));
        QCOMPARE(Find<QComboBox>(window, "iniCB")->currentText(), QString("mine.ini"));
        dialogs().setNextFiles(QStringList{Input("p.dat", orv::tools::BuildPack({{"w.ani", TwoFrameAnimation()}}))});
        Find<QPushButton>(window, "StartButton")->click();
        QCOMPARE(dialogs().events, (QStringList{"beep", "message 変換終了しました。"}));
        QVERIFY(std::filesystem::exists(own / "p" / "w_0001.bmp"));
        QVERIFY(!std::filesystem::exists(own / "p" / "w_0002.bmp"));
        QVERIFY(!std::filesystem::exists(exeDir() / "missing"));
    }

    // Files copied from elsewhere often have Shift-JIS names ("設定.ini" here), which are
    // not UTF-8: the batch must still read the file the item stands for.
    void aSettingsFileWithAShiftJisNameIsRead()
    {
        orv::tools::WriteFileBytes((exeDir() / "\x90\xdd\x92\xe8.ini").string(), BytesOf("[w.ani]\np2=2\n"));
        auto window = MakeWindow();
        QCOMPARE(Find<QComboBox>(*window, "iniCB")->count(), 2);
        QCOMPARE(Find<QComboBox>(*window, "iniCB")->currentText(), QString("設定.ini"));
        dialogs().setNextFiles(QStringList{Input("p.dat", orv::tools::BuildPack({{"w.ani", TwoFrameAnimation()}}))});
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(dialogs().events, (QStringList{"beep", "message 変換終了しました。"}));
        QVERIFY(std::filesystem::exists(exeDir() / "p" / "w_0001.bmp"));
        // p2=2: frame 2 is left out.
        QVERIFY(!std::filesystem::exists(exeDir() / "p" / "w_0002.bmp"));
    }

    // Enter in the dialog while its name completer is open: the popup must be gone before the
    // batch starts, or it covers the window and takes the first click on Stop.
    void noPopupOfTheDialogOutlivesIt()
    {
        auto window = MakeWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        dialogs().setNextFiles(QStringList{Input("a.dat", SmallArchive())});
        QMenu* popup = nullptr;
        dialogs().onChoose = [&](QFileDialog&) {
            popup = new QMenu(window.get());
            popup->addAction("a.dat");
            popup->popup(window->geometry().center());
        };
        std::optional<bool> popupSeen;
        window->onPump = [&] {
            if (!popupSeen) popupSeen = QApplication::activePopupWidget() != nullptr || popup->isVisible();
        };
        Find<QPushButton>(*window, "StartButton")->click();
        QVERIFY(popupSeen.has_value());
        QVERIFY(!*popupSeen);
    }

    void cancelledDialogChangesNothing()
    {
        auto window = MakeWindow();
        dialogs().setNextFiles(std::nullopt);
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(dialogs().chooseCalls, 1);
        QVERIFY(dialogs().events.isEmpty());
        QVERIFY(Find<QPushButton>(*window, "StartButton")->isEnabled());
        QVERIFY(Find<QWidget>(*window, "outputRG")->isEnabled());
        QVERIFY(Find<QWidget>(*window, "axonlyCB")->isEnabled());
        QVERIFY(Find<QWidget>(*window, "iniCB")->isEnabled());
        QCOMPARE(TextOf(*window, "MessageLabel"), QString("変換ボタンを押してファイルを選択してください。"));
        QCOMPARE(TextOf(*window, "arccountLabel"), QString("[0/0]"));
    }

    // What the user sees at each pump of a batch and while its final message is up.
    void batchStatesSeenFromPumpsAndTheFinalMessage_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<QStringList>("fileCounters");
        QTest::newRow("one file") << 1 << QStringList{"[0/1]", "[1/1]"};
        QTest::newRow("three files, the second skipped") << 3 << QStringList{"[0/3]", "[1/3]", "[2/3]", "[3/3]"};
    }
    void batchStatesSeenFromPumpsAndTheFinalMessage()
    {
        QFETCH(int, files);
        QFETCH(QStringList, fileCounters);
        auto window = MakeWindow();
        QStringList inputs{Input("a.dat", SmallArchive())};
        if (files == 3) inputs << Input("notes.txt", BytesOf("x")) << Input("c.dat", SmallArchive(3));
        dialogs().setNextFiles(inputs);
        dialogs().onChoose = [&](QFileDialog&) {
            QVERIFY(!Find<QPushButton>(*window, "StartButton")->isEnabled());
            QVERIFY(!Find<QWidget>(*window, "iniCB")->isEnabled());
            QVERIFY(!Find<QPushButton>(*window, "StopButton")->isEnabled());
        };

        // Enabled controls and the message line, one line per distinct state.
        const auto state = [&] {
            QStringList enabled;
            for (const char* name : {"StartButton", "StopButton", "outputRG", "axonlyCB", "iniCB"})
                if (Find<QWidget>(*window, name)->isEnabled()) enabled << name;
            return TextOf(*window, "MessageLabel") + " " + enabled.join(",");
        };
        QStringList states;
        QStringList counters;
        const auto look = [&] {
            if (states.isEmpty() || states.last() != state()) states << state();
            const QString counter = TextOf(*window, "arccountLabel");
            if (counters.isEmpty() || counters.last() != counter) counters << counter;
        };
        window->onPump = look;
        dialogs().onMessage = look;
        Find<QPushButton>(*window, "StartButton")->click();

        QCOMPARE(states, QStringList{"変換中．．． StopButton"});
        QCOMPARE(counters, fileCounters);
        QStringList events{"beep", "message 変換終了しました。"};
        if (files == 3)
            events << "warning 変換しなかったファイルがあります。\n" + inputs[1]
                    + "（.dat/.ani ファイルではありません）";
        QCOMPARE(dialogs().events, events);
        QCOMPARE(dialogs().messageTitles, QStringList(events.size() - 1, "Orvconv"));
        QCOMPARE(state(),
                 QString("変換ボタンを押してファイルを選択してください。 StartButton,outputRG,axonlyCB,iniCB"));
        QVERIFY(std::filesystem::exists(exeDir() / "a" / "e1.txt"));
    }

    void batchCountsEveryFileAndReportsTheLastOnesResult()
    {
        auto window = MakeWindow();
        const QString notes = Input("notes.txt", BytesOf("x"));
        dialogs().setNextFiles(QStringList{Input("A.DAT", SmallArchive()), notes, Input("c.dat", SmallArchive(3))});
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(dialogs().events,
                 (QStringList{"beep", "message 変換終了しました。",
                              "warning 変換しなかったファイルがあります。\n" + notes
                                  + "（.dat/.ani ファイルではありません）"}));
        QCOMPARE(TextOf(*window, "arccountLabel"), QString("[3/3]"));
        QCOMPARE(TextOf(*window, "filecountLabel"), QString("[3/3]"));
        QCOMPARE(Find<QProgressBar>(*window, "ProgressBar1")->value(), 3);
        QVERIFY(std::filesystem::exists(exeDir() / "a" / "e1.txt"));
        QVERIFY(std::filesystem::exists(exeDir() / "c" / "e2.txt"));
        QVERIFY(!Find<QPushButton>(*window, "StopButton")->isEnabled());
        QVERIFY(Find<QPushButton>(*window, "StartButton")->isEnabled());
        QCOMPARE(TextOf(*window, "MessageLabel"), QString("変換ボタンを押してファイルを選択してください。"));
        // The last output path, shortened to its label.
        auto* label = Find<QLabel>(*window, "filenameLabel");
        QVERIFY(label->text().endsWith("e2.txt"));
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= 329);
    }

    // Counters grow to the left of their bars; from 1000 on the text is wider than the
    // room there and must still show whole, in the window's own face.
    void countersShowWholeLeftOfTheirBars()
    {
        auto window = MakeWindow();
        auto* label = Find<QLabel>(*window, "filecountLabel");
        const int barLeft = Find<QProgressBar>(*window, "ProgressBar")->x();
        for (const QString text : {"[999/999]", "[1000/1000]", "[65535/65535]"}) {
            window->SetEntryCounterText(text.toStdString());
            QCOMPARE(label->text(), text);
            QVERIFY2(label->x() >= 0, qPrintable(text));
            QCOMPARE(label->x() + label->width(), 70);
            QVERIFY(label->x() + label->width() <= barLeft);
            QCOMPARE(QFontInfo(label->font()).family(), QFontInfo(window->font()).family());
            QCOMPARE(label->font().pixelSize(), 12);
            const int stretch = label->font().stretch();
            QVERIFY2(stretch == QFont::AnyStretch || stretch >= 70, qPrintable(text));
            // Every column of ink that the text has when nothing cuts it off is on screen.
            QCOMPARE(InkColumns(label->grab().toImage()), InkColumns(DrawnFreely(*label)));
        }
        // Condensed only when needed.
        window->SetEntryCounterText("[999/999]");
        QCOMPARE(label->font().stretch(), window->font().stretch());
    }

    void labelsShowPlainText()
    {
        auto window = MakeWindow();
        for (QLabel* label : window->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
            QCOMPARE(label->textFormat(), Qt::PlainText);
        const QString input = Input("<b>x</b>_1.dat", SmallArchive(1));
        dialogs().setNextFiles(QStringList{input});
        Find<QPushButton>(*window, "StartButton")->click();
        auto* label = Find<QLabel>(*window, "arcnameLabel");
        QCOMPARE(label->text(), input);
        // As markup the text would be a bold "x" alone, far narrower.
        QVERIFY(label->sizeHint().width() >= label->fontMetrics().horizontalAdvance(input));
    }

    // A skipped last file has no final message; what was passed over is named, once, at the end.
    void aSkippedLastFileEndsWithTheBeepAndWhatWasPassedOver()
    {
        auto window = MakeWindow();
        const QString fake = Input("b.dat", BytesOf("not an archive"));
        std::filesystem::create_directory(fixture->inputDir() / "folder.dat");
        const QString folder = QString::fromStdString((fixture->inputDir() / "folder.dat").string());
        dialogs().setNextFiles(QStringList{Input("a.dat", SmallArchive()), folder, fake});
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(dialogs().events,
                 (QStringList{"beep",
                              "warning 変換しなかったファイルがあります。\n" + folder + "（フォルダです）\n" + fake
                                  + "（パックアーカイブではありません）"}));
        QCOMPARE(TextOf(*window, "arccountLabel"), QString("[3/3]"));
        QVERIFY(std::filesystem::exists(exeDir() / "a" / "e1.txt"));
    }

    void stopDuringAnArchiveCancelsIt()
    {
        auto window = MakeWindow();
        dialogs().setNextFiles(QStringList{Input("a.dat", SmallArchive(5)), Input("b.dat", SmallArchive())});
        // Stop is clicked as soon as the batch first lets events through.
        dialogs().onChoose = [&](QFileDialog&) {
            QMetaObject::invokeMethod(Find<QPushButton>(*window, "StopButton"), "click", Qt::QueuedConnection);
        };
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(dialogs().events, (QStringList{"beep", "message 変換中止しました。"}));
        QCOMPARE(TextOf(*window, "arccountLabel"), QString("[0/2]"));
        QVERIFY(std::filesystem::is_empty(exeDir() / "a"));
        QVERIFY(!std::filesystem::exists(exeDir() / "b"));
    }

    void stopDuringAStandAloneAnimationStillFinishesIt()
    {
        auto window = MakeWindow();
        dialogs().setNextFiles(QStringList{Input("walk.ani", Bytes{4, 0, 0, 0}), Input("b.dat", SmallArchive())});
        dialogs().onChoose = [&](QFileDialog&) {
            QMetaObject::invokeMethod(Find<QPushButton>(*window, "StopButton"), "click", Qt::QueuedConnection);
        };
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(dialogs().events, (QStringList{"beep", "message 変換終了しました。"}));
        QCOMPARE(TextOf(*window, "arccountLabel"), QString("[0/2]"));
        QCOMPARE(TextOf(*window, "filecountLabel"), QString("[0/0]"));
        QCOMPARE(Find<QProgressBar>(*window, "ProgressBar")->value(), 0);
        QVERIFY(!std::filesystem::exists(exeDir() / "b"));
    }

    void aSettingsFileThatCannotBeReadStopsBeforeTheDialog()
    {
        orv::tools::WriteFileBytes((exeDir() / "bad.ini").string(), BytesOf("[x]\n"));
        auto window = MakeWindow();
        // After start-up the file is replaced by something that exists but cannot be read.
        std::filesystem::remove(exeDir() / "bad.ini");
        QCOMPARE(::mkfifo((exeDir() / "bad.ini").c_str(), 0644), 0);
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(dialogs().chooseCalls, 0);
        const QString path = QString::fromStdString((exeDir() / "bad.ini").string());
        QCOMPARE(dialogs().events, QStringList{"error ファイル " + path + " は開けません."});
        QVERIFY(Find<QPushButton>(*window, "StartButton")->isEnabled());
        QVERIFY(Find<QWidget>(*window, "iniCB")->isEnabled());
    }

    void closingDuringABatchWaitsForItsEnd()
    {
        auto window = MakeWindow();
        window->show();
        dialogs().setNextFiles(QStringList{Input("a.dat", SmallArchive(3)), Input("b.dat", SmallArchive())});
        dialogs().onChoose
            = [&](QFileDialog&) { QMetaObject::invokeMethod(window.get(), "close", Qt::QueuedConnection); };
        Find<QPushButton>(*window, "StartButton")->click();
        QVERIFY(std::filesystem::exists(exeDir() / "b" / "e1.txt"));
        QCOMPARE(dialogs().events, (QStringList{"beep", "message 変換終了しました。"}));
        QCOMPARE(dialogs().autoClosed, std::vector<bool>{true});
        QVERIFY(!window->isVisible());
    }

    void aFatalErrorIsShownAndEndsTheProcess()
    {
        auto window = MakeWindow();
        dialogs().setNextFiles(QStringList{Input("evil.dat", orv::tools::BuildPack({{"../x.txt", BytesOf("x")}}))});
        Find<QPushButton>(*window, "StartButton")->click();
        const QString path = QString::fromStdString(exeDir().string() + "/evil/../x.txt");
        QCOMPARE(dialogs().events, QStringList{"message ファイルオープンエラー！\n" + path + "\n終了します。"});
        QCOMPARE(dialogs().exitCode, std::optional<int>(1));
        QVERIFY(!std::filesystem::exists(exeDir() / "x.txt"));
    }

    void optionsAreCapturedWhenTheBatchStarts()
    {
        auto window = MakeWindow();
        Find<QRadioButton>(*window, "outputRG_1")->setChecked(true);
        Find<QCheckBox>(*window, "axonlyCB")->setChecked(true);
        Bytes picture{0, 1, 0, 1, 0};
        picture.resize(389, 0);
        picture.push_back(0x80);
        dialogs().setNextFiles(
            QStringList{Input("p.dat", orv::tools::BuildPack({{"p.cg", picture}, {"w.ani", Bytes{4, 0, 0, 0}}}))});
        Find<QPushButton>(*window, "StartButton")->click();
        QVERIFY(std::filesystem::exists(exeDir() / "p" / "p.png"));
        QVERIFY(std::filesystem::exists(exeDir() / "p" / "w.ani"));
    }
};

int RunTForm1Tests(int argc, char** argv)
{
    TForm1Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "tform1_test.moc"
