#pragma once

class QLabel;
class QString;

namespace orv::app {

// Shows a counter such as "[12/345]" in a right-aligned label whose right edge stays at
// rightEdge while it grows to the left, never past leftLimit. A text wider than that room
// is drawn in a condensed stretch of the window's font instead of being cut off.
void ShowCounter(QLabel& label, const QString& text, int leftLimit, int rightEdge);

}  // namespace orv::app
