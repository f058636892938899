// orvconv: the conversion engine behind its Japanese window.
#include <QApplication>
#include <QScreen>
#include <exception>

#include "app_text.h"
#include "executable_path.h"
#include "tform1.h"
#include "ui_dialogs.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const std::string executable = orv::RunningExecutablePath(argv[0]);
    orv::app::QtDialogs dialogs;
    try {
        orv::app::TForm1 Form1(dialogs, executable);
        const QRect screen = Form1.screen()->availableGeometry();
        Form1.move(screen.center() - QPoint(Form1.frameGeometry().width() / 2, Form1.frameGeometry().height() / 2));
        Form1.show();
        return application.exec();
    } catch (const std::exception& failure) {
        dialogs.ShowError(QString::fromUtf8(orv::app::ProgramTitle(executable).c_str()),
                          QString::fromUtf8(orv::app::ErrorDisplayText(failure.what()).c_str()));
        return 0;
    }
}
