#include "view/default_viewer.h"

#include <QCoreApplication>
#include <QProcess>

namespace orv::view {

namespace {

constexpr int kWaitMs = 30000;

}  // namespace

const QStringList& ViewerFileTypes()
{
    static const QStringList types{"application/x-orvenda-pack", "application/x-orvenda-animation"};
    return types;
}

QString MakeDefaultViewer()
{
    QProcess xdgMime;
    xdgMime.start("xdg-mime", QStringList{"default", "orvview.desktop"} + ViewerFileTypes());
    if (!xdgMime.waitForStarted(kWaitMs))
        return QCoreApplication::translate("orv::view::DefaultViewer",
                                           "xdg-mime (from the package xdg-utils) cannot be run.");
    if (!xdgMime.waitForFinished(kWaitMs) || xdgMime.exitStatus() != QProcess::NormalExit || xdgMime.exitCode() != 0)
        return QCoreApplication::translate("orv::view::DefaultViewer", "xdg-mime failed: %1")
            .arg(QString::fromLocal8Bit(xdgMime.readAllStandardError()).trimmed());
    return {};
}

}  // namespace orv::view
