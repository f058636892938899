#pragma once

// What the screenshot programs share: waiting for windows to be shown and painted, and
// pictures of the screen taken only once something is painted there. A run that never
// gets there fails (exit 1, a line on stderr) rather than write a blank picture.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace orv::shots {

// How long a window may take to show and paint on a loaded machine before the run fails.
inline constexpr int kShowLimitMs = 60000;

[[noreturn]] inline void Fail(const std::string& what)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QApplication::applicationName()), what.c_str());
    std::exit(1);
}

// Lets the window system catch up: events for ms milliseconds.
inline void Settle(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Waits until the window is exposed and, where a window manager runs, framed, then paints
// it at once.
inline void WaitUntilShown(QWidget& window)
{
    QElapsedTimer clock;
    clock.start();
    while (!(window.windowHandle() != nullptr && window.windowHandle()->isExposed()
             && window.frameGeometry().size() != window.size())) {
        if (clock.elapsed() > kShowLimitMs) Fail("a window was never shown: " + window.objectName().toStdString());
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    window.repaint();
    Settle(300);
}

// Whether every pixel of the picture has one colour, as a window not painted yet shows.
inline bool Blank(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0)) return false;
    return true;
}

// The screen as it shows the area, frames and other windows included, into file.
inline void Shoot(const QRect& area, const std::filesystem::path& file)
{
    QElapsedTimer clock;
    clock.start();
    QPixmap shot;
    do {
        if (clock.elapsed() > kShowLimitMs) Fail(file.string() + " stays blank: nothing was painted there");
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    } while (shot.isNull() || Blank(shot.toImage()));
    if (!shot.save(QString::fromStdString(file.string()))) Fail("cannot write " + file.string());
}

}  // namespace orv::shots
