#pragma once

class QFont;
class QString;

namespace orv::app {

// The pixels a label needs for text on one line in font. Labels lay text out with
// fractional advances, which a rounded-down width would cut off.
int LineWidth(const QFont& font, const QString& text);

}  // namespace orv::app
