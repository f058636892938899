#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <deque>
#include <functional>
#include <optional>
#include <sys/stat.h>

#include "app_text.h"
#include "executable_path.h"
#include "pack_writer.h"
#include "temp_dir.h"
#include "tform1.h"
#include "ui_dialogs.h"

using orv::app::TForm1;
using orv::tools::Bytes;
using orv::tools::BytesOf;

namespace {

// Answers the file dialog from a script and records every message, error, beep
// and requested process end, in order.
class FakeDialogs : public orv::app::UiDialogs {
public:
    std::deque<std::optional<QStringList>> nextFiles;
    std::function<void()> onChoose;
    QStringList events;
    QStringList messageTitles;
    std::vector<bool> autoClosed;
    int chooseCalls = 0;
    std::optional<int> exitCode;

    void setNextFiles(std::optional<QStringList> files) { nextFiles.push_back(std::move(files)); }

    std::optional<QStringList> ChooseFiles(QFileDialog&) override
    {
        ++chooseCalls;
        if (onChoose) onChoose();
        auto files = nextFiles.front();
        nextFiles.pop_front();
        return files;
    }
    void ShowMessage(const QString& title, const QString& text, bool autoClose) override
    {
        events << "message " + text;
        messageTitles << title;
        autoClosed.push_back(autoClose);
    }
    void ShowError(const QString& title, const QString& text) override
    {
        events << "error " + text;
        messageTitles << title;
    }
    void Beep() override { events << "beep"; }
    void EndProcess(int code) override { exitCode = code; }
};

Bytes SmallArchive(int entries = 2)
{
    std::vector<orv::tools::PackItem> items;
    for (int i = 0; i < entries; ++i) items.push_back({"e" + std::to_string(i) + ".txt", BytesOf("entry")});
    return orv::tools::BuildPack(items);
}

}  // namespace

class TForm1Test : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDir> dir;
    FakeDialogs dialogs;

    std::filesystem::path exeDir() const { return dir->path() / "exe"; }

    std::unique_ptr<TForm1> MakeWindow()
    {
        return std::make_unique<TForm1>(dialogs, (exeDir() / "Orvconv.bin").string());
    }

    QString Input(const std::string& name, const Bytes& bytes)
    {
        const auto path = dir->path() / "in" / name;
        orv::tools::WriteFileBytes(path.string(), bytes);
        return QString::fromStdString(path.string());
    }

    template <typename T>
    static T* Find(TForm1& window, const char* name)
    {
        T* widget = window.findChild<T*>(name);
        if (widget == nullptr) qFatal("no control named %s", name);
        return widget;
    }

    static QString TextOf(TForm1& window, const char* name) { return Find<QLabel>(window, name)->text(); }

private slots:
    void init()
    {
        dir = std::make_unique<TempDir>();
        std::filesystem::create_directory(exeDir());
        std::filesystem::create_directory(dir->path() / "in");
        dialogs = FakeDialogs{};
    }
    void cleanup() { dir.reset(); }

    void layoutMatchesTheDesign()
    {
        auto window = MakeWindow();
        QCOMPARE(window->windowTitle(), QString("「ORVENDA 3.2」変換プログラム"));
        QCOMPARE(window->minimumSize(), QSize(366, 376));
        QCOMPARE(window->maximumSize(), QSize(366, 376));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));

        struct Place {
            const char* name;
            QRect geometry;
        };
        for (const Place& place : {Place{"filenameLabel", {32, 48, 329, 12}}, Place{"ProgressBar", {72, 72, 289, 17}},
                                   Place{"arcnameLabel", {32, 104, 329, 12}}, Place{"ProgressBar1", {72, 128, 289, 17}},
                                   Place{"StartButton", {72, 163, 71, 33}}, Place{"StopButton", {206, 163, 72, 33}},
                                   Place{"outputRG", {16, 216, 329, 89}}, Place{"Label1", {24, 324, 65, 12}},
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
        QCOMPARE(QFontInfo(window->font()).family(), QString("IPAPGothic"));

        // Tab order: Start, Stop, the output option, the check box, the drop-down (the
        // bars between Stop and the options take no focus).
        QStringList chain;
        const QStringList ours{"StartButton", "StopButton", "outputRG_0", "axonlyCB", "iniCB"};
        QWidget* widget = Find<QWidget>(*window, "StartButton");
        for (int i = 0; i < 64 && chain.size() < ours.size(); ++i, widget = widget->nextInFocusChain()) {
            if (ours.contains(widget->objectName()) && !chain.contains(widget->objectName())) chain << widget->objectName();
        }
        QCOMPARE(chain, ours);
    }

    void titlesFoldersAndErrorTexts()
    {
        QCOMPARE(QString::fromStdString(orv::app::ProgramTitle("C/tools/AB.EXE")), QString("Ab"));
        QCOMPARE(QString::fromStdString(orv::app::ProgramTitle("/opt/orvconv")), QString("orvconv"));
        QCOMPARE(QString::fromStdString(orv::app::ProgramTitle("/opt/My.Conv.exe")), QString("My"));
        QCOMPARE(QString::fromStdString(orv::FolderOf("/opt/tools/orvconv")), QString("/opt/tools/"));
        QCOMPARE(QString::fromStdString(orv::FolderOf("orvconv")), QString("./"));
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
        QCOMPARE(Find<QComboBox>(*window, "iniCB")->count(), 1);
        QCOMPARE(Find<QComboBox>(*window, "iniCB")->currentIndex(), 0);
        QCOMPARE(Find<QComboBox>(*window, "iniCB")->currentText(), QString("walk.ini"));
    }

    void cancelledDialogChangesNothing()
    {
        auto window = MakeWindow();
        dialogs.setNextFiles(std::nullopt);
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(dialogs.chooseCalls, 1);
        QVERIFY(dialogs.events.isEmpty());
        QVERIFY(Find<QPushButton>(*window, "StartButton")->isEnabled());
        QVERIFY(Find<QWidget>(*window, "outputRG")->isEnabled());
        QVERIFY(Find<QWidget>(*window, "axonlyCB")->isEnabled());
        QVERIFY(Find<QWidget>(*window, "iniCB")->isEnabled());
        QCOMPARE(TextOf(*window, "MessageLabel"), QString("変換ボタンを押してファイルを選択してください。"));
        QCOMPARE(TextOf(*window, "arccountLabel"), QString("[0/0]"));
    }

    void batchCountsEveryFileAndReportsTheLastOnesResult()
    {
        auto window = MakeWindow();
        dialogs.setNextFiles(QStringList{Input("A.DAT", SmallArchive()), Input("notes.txt", BytesOf("x")),
                                         Input("c.dat", SmallArchive(3))});
        QStringList shownDuring;
        dialogs.onChoose = [&] {
            QVERIFY(!Find<QPushButton>(*window, "StartButton")->isEnabled());
            QVERIFY(!Find<QWidget>(*window, "iniCB")->isEnabled());
        };
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(dialogs.events, (QStringList{"beep", "message 変換終了しました。"}));
        QCOMPARE(dialogs.messageTitles, QStringList{"Orvconv"});
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

    void aSkippedLastFileEndsWithTheBeepAlone()
    {
        auto window = MakeWindow();
        dialogs.setNextFiles(QStringList{Input("a.dat", SmallArchive()), Input("b.dat", BytesOf("not an archive"))});
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(dialogs.events, QStringList{"beep"});
        QCOMPARE(TextOf(*window, "arccountLabel"), QString("[2/2]"));
    }

    void stopDuringAnArchiveCancelsIt()
    {
        auto window = MakeWindow();
        dialogs.setNextFiles(QStringList{Input("a.dat", SmallArchive(5)), Input("b.dat", SmallArchive())});
        // Stop is clicked as soon as the batch first lets events through.
        dialogs.onChoose = [&] {
            QMetaObject::invokeMethod(Find<QPushButton>(*window, "StopButton"), "click", Qt::QueuedConnection);
        };
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(dialogs.events, (QStringList{"beep", "message 変換中止しました。"}));
        QCOMPARE(TextOf(*window, "arccountLabel"), QString("[0/2]"));
        QVERIFY(std::filesystem::is_empty(exeDir() / "a"));
        QVERIFY(!std::filesystem::exists(exeDir() / "b"));
    }

    void stopDuringAStandAloneAnimationStillFinishesIt()
    {
        auto window = MakeWindow();
        dialogs.setNextFiles(QStringList{Input("walk.ani", Bytes{4, 0, 0, 0}), Input("b.dat", SmallArchive())});
        dialogs.onChoose = [&] {
            QMetaObject::invokeMethod(Find<QPushButton>(*window, "StopButton"), "click", Qt::QueuedConnection);
        };
        Find<QPushButton>(*window, "StartButton")->click();
        QCOMPARE(dialogs.events, (QStringList{"beep", "message 変換終了しました。"}));
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
        QCOMPARE(dialogs.chooseCalls, 0);
        const QString path = QString::fromStdString((exeDir() / "bad.ini").string());
        QCOMPARE(dialogs.events, QStringList{"error ファイル " + path + " は開けません."});
        QVERIFY(Find<QPushButton>(*window, "StartButton")->isEnabled());
        QVERIFY(Find<QWidget>(*window, "iniCB")->isEnabled());
    }

    void closingDuringABatchWaitsForItsEnd()
    {
        auto window = MakeWindow();
        window->show();
        dialogs.setNextFiles(QStringList{Input("a.dat", SmallArchive(3)), Input("b.dat", SmallArchive())});
        dialogs.onChoose = [&] { QMetaObject::invokeMethod(window.get(), "close", Qt::QueuedConnection); };
        Find<QPushButton>(*window, "StartButton")->click();
        QVERIFY(std::filesystem::exists(exeDir() / "b" / "e1.txt"));
        QCOMPARE(dialogs.events, (QStringList{"beep", "message 変換終了しました。"}));
        QCOMPARE(dialogs.autoClosed, std::vector<bool>{true});
        QVERIFY(!window->isVisible());
    }

    void aFatalErrorIsShownAndEndsTheProcess()
    {
        auto window = MakeWindow();
        dialogs.setNextFiles(QStringList{Input("evil.dat", orv::tools::BuildPack({{"../x.txt", BytesOf("x")}}))});
        Find<QPushButton>(*window, "StartButton")->click();
        const QString path = QString::fromStdString(exeDir().string() + "/evil/../x.txt");
        QCOMPARE(dialogs.events, QStringList{"message ファイルオープンエラー！\n" + path + "\n終了します。"});
        QCOMPARE(dialogs.exitCode, std::optional<int>(1));
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
        dialogs.setNextFiles(QStringList{Input("p.dat", orv::tools::BuildPack({{"p.cg", picture}, {"w.ani", Bytes{4, 0, 0, 0}}}))});
        Find<QPushButton>(*window, "StartButton")->click();
        QVERIFY(std::filesystem::exists(exeDir() / "p" / "p.png"));
        QVERIFY(std::filesystem::exists(exeDir() / "p" / "w.ani"));
    }
};

QTEST_MAIN(TForm1Test)
#include "tform1_test.moc"
