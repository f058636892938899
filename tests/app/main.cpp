// The window's test classes, run one after another in one application.
#include <QApplication>

#include "sound_capture.h"
#include "temp_dir.h"
#include "test_classes.h"

int main(int argc, char** argv)
{
    const TempDir soundFolder;
    CaptureSoundInto(soundFolder.path());
    QApplication application(argc, argv);
    int failed = 0;
    failed += RunTForm1Tests(argc, argv);
    failed += RunDesktopTests(argc, argv);
    return failed;
}
