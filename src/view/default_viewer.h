#pragma once

#include <QString>
#include <QStringList>

namespace orv::view {

// The file types orvview opens: pack archives and animation files.
const QStringList& ViewerFileTypes();

// Makes orvview the application the desktop opens both file types with, for this user
// (xdg-mime default, which writes the user's mimeapps.list), whatever was chosen before.
// Returns why it failed; empty on success.
QString MakeDefaultViewer();

}  // namespace orv::view
