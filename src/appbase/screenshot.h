#pragma once

class QWidget;

namespace rp {

// When ROLLPOUCH_SCREENSHOT names a PNG file, saves a picture of `window`
// there after ROLLPOUCH_SCREENSHOT_DELAY_MS (default 1500) and closes it, so
// that a machine without a display can still show the program working.
void ScheduleScreenshotFromEnvironment(QWidget* window);

} // namespace rp
