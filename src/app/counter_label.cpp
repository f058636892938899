#include "app/counter_label.h"

#include <QLabel>
#include <algorithm>

#include "app/line_width.h"

namespace orv::app {

void ShowCounter(QLabel& label, const QString& text, int leftLimit, int rightEdge)
{
    const int room = rightEdge - leftLimit;
    QFont font = label.parentWidget()->font();
    int width = LineWidth(font, text);
    // Hinting keeps the width from shrinking exactly with the stretch: step down until it fits.
    for (int stretch = room * 100 / std::max(width, 1); width > room && stretch > 0; --stretch) {
        font.setStretch(stretch);
        width = LineWidth(font, text);
    }
    label.setFont(font);
    label.setText(text);
    label.setGeometry(rightEdge - width, label.y(), width, label.height());
}

}  // namespace orv::app
