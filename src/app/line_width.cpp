#include "app/line_width.h"

#include <QFontMetricsF>
#include <cmath>

namespace orv::app {

int LineWidth(const QFont& font, const QString& text)
{
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

}  // namespace orv::app
