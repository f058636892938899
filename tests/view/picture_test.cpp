// What picture viewers have, in orvview: the wheel zooms around the cursor, a double-click
// goes between fitted and 100 %, F11 goes full screen.
#include <QScrollArea>
#include <QtTest>

#include "random_archive.h"
#include "view/picture_view.h"
#include "viewer_fixture.h"

class PictureTest : public ViewerFixture {
    Q_OBJECT

    std::unique_ptr<orv::view::ViewerWindow> window;
    orv::view::PictureView* picture = nullptr;

    // A shown window previewing a picture of at least 8×8 pixels.
    void ShowPicture()
    {
        window = std::make_unique<orv::view::ViewerWindow>(dialogs);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QSignalSpy shown(window.get(), &orv::view::ViewerWindow::PreviewShown);
        RandomArchive random(7);
        auto bytes = random.Picture(40);
        while (true) {
            QVERIFY(window->OpenInput(Write("p.dat", orv::tools::BuildPack({{"p.cg", bytes}}))));
            QVERIFY(shown.wait(20000));
            if (window->ShownImage().width() >= 8 && window->ShownImage().height() >= 8) break;
            bytes = random.Picture(40);
        }
        picture = window->findChild<orv::view::PictureView*>("pictureView");
    }

private slots:
    void init() { dir = std::make_unique<TempDir>(); }
    void cleanup() { window.reset(); }

    // The pixel of the picture under the cursor stays under it as the wheel zooms in and
    // out, along each side the picture overflows (along the others it stays centred).
    void theWheelZoomsAroundTheCursor()
    {
        ShowPicture();
        const QImage image = window->ShownImage();
        QWidget* viewport = window->findChild<QScrollArea*>()->viewport();
        const QPoint pixel(image.width() / 3, image.height() / 4);
        const QPoint cursor
            = picture->mapTo(viewport, picture->WidgetPointOf(QPointF(pixel) + QPointF(0.5, 0.5)).toPoint());
        QCOMPARE(QColor(viewport->grab().toImage().pixel(cursor)), QColor(image.pixel(pixel)));
        const double fitted = picture->Scale();
        for (const int notches : {3, -1}) {
            const QPointF at = picture->mapFrom(viewport, QPointF(cursor));
            QWheelEvent wheel(at, picture->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(picture, &wheel);
            // Drawn at its scale from its top left corner, the picture's pixel is at shown.
            const QPointF shown = QPointF(picture->pos()) + (QPointF(pixel) + QPointF(0.5, 0.5)) * picture->Scale();
            QVERIFY(picture->width() > viewport->width() || picture->height() > viewport->height());
            if (picture->width() > viewport->width()) QVERIFY(qAbs(shown.x() - cursor.x()) <= 1.0);
            if (picture->height() > viewport->height()) QVERIFY(qAbs(shown.y() - cursor.y()) <= 1.0);
        }
        QVERIFY(qAbs(picture->Scale() - fitted * 1.25 * 1.25) < 1e-9);
    }

    void aDoubleClickGoesBetweenFittedAndActualSize()
    {
        ShowPicture();
        QVERIFY(picture->fitted());
        QTest::mouseDClick(picture, Qt::LeftButton);
        QVERIFY(!picture->fitted());
        QCOMPARE(picture->Scale(), 1.0);
        QTest::mouseDClick(picture, Qt::LeftButton);
        QVERIFY(picture->fitted());
    }

    // F11 goes full screen and back; so does Escape, but only back.
    void f11GoesFullScreenAndBack()
    {
        ShowPicture();
        QTest::keyClick(window.get(), Qt::Key_F11);
        QVERIFY(window->isFullScreen());
        QTest::keyClick(window.get(), Qt::Key_F11);
        QVERIFY(!window->isFullScreen());
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isFullScreen());
        QTest::keyClick(window.get(), Qt::Key_F11);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isFullScreen());
        QTest::keyClick(window.get(), Qt::Key_F11);
        QVERIFY(window->isFullScreen());
    }
};

QTEST_MAIN(PictureTest)
#include "picture_test.moc"
