#include "window_placement.h"

#include <gtest/gtest.h>

namespace rp {
namespace {

TEST(WindowPlacement, KeepsAStoredPlaceOnAScreenAndNeverOutgrowsIt) {
    // The primary, and a smaller screen to its right.
    const QList<QRect> screens{QRect(0, 0, 1000, 800), QRect(1000, 0, 600, 400)};
    const QSize proposed(800, 640);
    const struct {
        QRect stored;
        QSize size;
        std::optional<QPoint> position;
    } cases[] = {
        {QRect(100, 120, 640, 480), QSize(640, 480), QPoint(100, 120)},
        {QRect(1100, 50, 400, 300), QSize(400, 300), QPoint(1100, 50)},
        // Too large: shrunk to the screen holding the centre, not the primary.
        {QRect(-50, -50, 2000, 1000), QSize(1000, 800), QPoint(-50, -50)},
        {QRect(1050, -100, 900, 700), QSize(600, 400), QPoint(1050, -100)},
        // The centre on no screen: the size only, and no larger than the primary.
        {QRect(-9000, 50, 500, 400), QSize(500, 400), std::nullopt},
        {QRect(-9000, 50, 3000, 300), QSize(1000, 300), std::nullopt},
        {QRect(kNowhere, QSize(500, 400)), QSize(500, 400), std::nullopt},
        // Nothing stored.
        {QRect(), proposed, std::nullopt},
        {QRect(100, 120, 0, 480), proposed, std::nullopt},
    };
    for (const auto& c : cases) {
        const WindowPlacement placement = PlaceWindow(c.stored, proposed, screens);
        EXPECT_EQ(placement.size, c.size) << c.stored.x() << "," << c.stored.y();
        EXPECT_EQ(placement.position, c.position) << c.stored.x() << "," << c.stored.y();
    }
    EXPECT_EQ(PlaceWindow(QRect(), QSize(2000, 500), {}).size, QSize(1024, 500)); // no screen
}

} // namespace
} // namespace rp
