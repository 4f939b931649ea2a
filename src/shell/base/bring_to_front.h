#pragma once

class QWidget;

namespace rp {

// Restores a shown window from the task bar, raises it and asks for the
// focus; a hidden window stays hidden.
void BringToFront(QWidget* window);

} // namespace rp
