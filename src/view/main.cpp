// orvview: look inside an archive or animation file without converting it.
#include <QApplication>
#include <QFile>
#include <cstdio>

#include "view/viewer_dialogs.h"
#include "view/viewer_window.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("orvview");
    QGuiApplication::setDesktopFileName("orvview");
    const QStringList arguments = QApplication::arguments();
    if (arguments.contains("--help") || arguments.size() > 2) {
        std::printf(
            "Usage: orvview [FILE]\nShows the entries of an ORVENDA 3.2 archive (.dat) or animation file (.ani).\n");
        return arguments.contains("--help") ? 0 : 2;
    }
    orv::view::QtViewerDialogs dialogs;
    orv::view::ViewerWindow window(dialogs);
    window.show();
    if (arguments.size() == 2) window.OpenInput(QFile::encodeName(arguments[1]).toStdString());
    return QApplication::exec();
}
