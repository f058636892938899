// orvview by keyboard alone: Tab through every control and back, the keys of the View
// menu, actions that cannot act, and the filter with the entry previewed.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QtTest>
#include <string>
#include <vector>

#include "random_archive.h"
#include "viewer_fixture.h"

using orv::tools::BytesOf;

namespace {

// The names of the controls Tab (or Shift+Tab) reaches from the focused one until the focus
// is back where it started; fails on a round of more than 40 stops.
QStringList TabRound(bool backwards)
{
    QStringList reached;
    QWidget* start = QApplication::focusWidget();
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
        if (QApplication::focusWidget() == start) return reached;
        reached << QApplication::focusWidget()->objectName();
    }
    return reached << "(no way back)";
}

QAction* ActionNamed(QWidget& window, const QString& text)
{
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == text) return action;
    qFatal("no action %s", qPrintable(text));
}

}  // namespace

class KeyboardTest : public ViewerFixture {
    Q_OBJECT

    std::unique_ptr<orv::view::ViewerWindow> window;
    QTableView* list = nullptr;

    // A shown window with an archive open: a text entry, then an animation.
    void OpenTextAndAnimation()
    {
        window = std::make_unique<orv::view::ViewerWindow>(dialogs);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QSignalSpy shown(window.get(), &orv::view::ViewerWindow::PreviewShown);
        const std::string archive = Write(
            "keys.dat",
            orv::tools::BuildPack({{"a.txt", BytesOf("hello")}, {"walk.ani", RandomArchive(5).Animation(12, 4)}}));
        QVERIFY(window->OpenInput(archive));
        QVERIFY(shown.wait(20000));
        list = window->findChild<QTableView*>("entryList");
        list->setFocus();
    }

    void PressInList(Qt::Key key, std::size_t expectedEntry)
    {
        QSignalSpy shown(window.get(), &orv::view::ViewerWindow::PreviewShown);
        QTest::keyClick(list, key);
        QVERIFY(shown.wait(20000));
        QCOMPARE(window->preview().entry, expectedEntry);
    }

private slots:
    void init() { dir = std::make_unique<TempDir>(); }
    void cleanup() { window.reset(); }

    // Tab leaves the list at once, goes round every control of the preview shown and comes
    // back, either way; the preview stays on its entry all the while.
    void tabReachesEveryControlFromTheListAndBack()
    {
        OpenTextAndAnimation();
        QCOMPARE(window->preview().entry, 0u);
        const QStringList text = TabRound(false);
        for (const char* control : {"filterEdit", "hexButton", "entryText"})
            QVERIFY2(text.contains(control), qPrintable(text.join(' ')));
        QVERIFY2(!text.contains("entryList"), qPrintable(text.join(' ')));
        QCOMPARE(TabRound(true).size(), text.size());
        QCOMPARE(window->preview().entry, 0u);

        PressInList(Qt::Key_Down, 1);
        QVERIFY(window->preview().frames.size() > 1);
        const QStringList animation = TabRound(false);
        for (const char* control : {"filterEdit", "previousFrame", "playButton", "nextFrame", "frameMs"})
            QVERIFY2(animation.contains(control), qPrintable(animation.join(' ')));
        const QStringList back = TabRound(true);
        QCOMPARE(back.size(), animation.size());
        QCOMPARE(window->preview().entry, 1u);
    }

    // Ctrl+F reaches the filter; Space plays and pauses, "." and "," step, H shows hex.
    void keysReachTheFilterPlayStepAndShowHex()
    {
        OpenTextAndAnimation();
        QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("filterEdit"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list);

        QTest::keyClick(list, Qt::Key_H);
        QVERIFY(window->findChild<QPlainTextEdit*>("entryText")->toPlainText().startsWith("00000000  68 65 6c 6c 6f"));
        QTest::keyClick(list, Qt::Key_H);
        QCOMPARE(window->findChild<QPlainTextEdit*>("entryText")->toPlainText(), QString("hello"));

        PressInList(Qt::Key_Down, 1);
        auto* play = window->findChild<QToolButton*>("playButton");
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(play->isChecked());
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(!play->isChecked());
        const int frame = window->frame();
        const int count = static_cast<int>(window->preview().frames.size());
        QTest::keyClick(list, Qt::Key_Period);
        QCOMPARE(window->frame(), (frame + 1) % count);
        QTest::keyClick(list, Qt::Key_Comma);
        QCOMPARE(window->frame(), frame);
        // The list keeps the entry: Space did not change the selection.
        QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
    }

    // With no file, nothing to copy or extract; each such action says why in its tooltip.
    void actionsThatCannotActAreDisabledAndSayWhy()
    {
        window = std::make_unique<orv::view::ViewerWindow>(dialogs);
        QAction* copy = ActionNamed(*window, "Copy");
        QAction* extract = ActionNamed(*window, "&Extract Selected…");
        QAction* hex = ActionNamed(*window, "&Hex");
        QAction* play = ActionNamed(*window, "&Play / Pause");
        QVERIFY(!copy->isEnabled() && !extract->isEnabled() && !hex->isEnabled() && !play->isEnabled());
        QCOMPARE(extract->toolTip(), QString("No archive or animation file is open."));
        QCOMPARE(copy->toolTip(), QString("No picture or animation frame is shown."));

        OpenTextAndAnimation();
        copy = ActionNamed(*window, "Copy");
        hex = ActionNamed(*window, "&Hex");
        play = ActionNamed(*window, "&Play / Pause");
        QVERIFY(ActionNamed(*window, "&Extract Selected…")->isEnabled());
        QVERIFY(!copy->isEnabled() && hex->isEnabled() && !play->isEnabled());
        QCOMPARE(play->toolTip(), QString("No animation or sound is shown."));
        PressInList(Qt::Key_Down, 1);
        QVERIFY(copy->isEnabled() && !hex->isEnabled() && play->isEnabled());
        QCOMPARE(copy->toolTip(), copy->statusTip());
    }

    // Typing in the filter keeps the entry previewed current, selected and in view, or
    // moves the preview to the first entry shown; the status bar counts what is shown.
    void theFilterKeepsThePreviewedEntryAndCountsWhatItShows()
    {
        std::vector<orv::tools::PackItem> items;
        for (int i = 0; i < 300; ++i) items.push_back({"e" + std::to_string(100 + i) + ".txt", BytesOf("x")});
        window = std::make_unique<orv::view::ViewerWindow>(dialogs);
        window->show();
        QVERIFY(window->OpenInput(Write("many.dat", orv::tools::BuildPack(items))));
        Select(*window, 250);  // e350.txt
        list = window->findChild<QTableView*>("entryList");
        auto* filter = window->findChild<QLineEdit*>("filterEdit");
        const auto inView
            = [this] { return list->viewport()->rect().contains(list->visualRect(list->currentIndex()).center()); };

        QTest::keyClicks(filter, "e3");
        auto* count = window->findChild<QLabel*>("entryCount");
        QCOMPARE(count->text(), QString("100 of 300 entries"));
        QCOMPARE(list->model()->data(list->currentIndex()).toString(), QString("e350.txt"));
        QVERIFY(list->selectionModel()->isRowSelected(list->currentIndex().row()));
        QVERIFY(inView());

        QSignalSpy shown(window.get(), &orv::view::ViewerWindow::PreviewShown);
        filter->setText("e2");
        QVERIFY(shown.wait(20000));
        QCOMPARE(window->preview().entry, 100u);  // e200.txt
        QVERIFY(list->selectionModel()->isRowSelected(list->currentIndex().row()));

        filter->clear();
        QCOMPARE(count->text(), QString("300 entries"));
        list->clearSelection();
        QTest::keyClick(list, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(window->statusBar()->currentMessage().startsWith("No entry is selected"));
        QVERIFY(dialogs.extractionTitle.isEmpty());
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
