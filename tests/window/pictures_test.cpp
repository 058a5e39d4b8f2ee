#include <QImage>

#include <gtest/gtest.h>

#include "window/pictures.h"

namespace quimbra::window {
namespace {

// Every picture is drawn at the size and display ratio asked for, whether it
// comes from its SVG or from the renderings built ahead (Windows); a missing
// one draws nothing.
TEST(PicturesTest, EveryPictureIsDrawnAtTheSizeAskedFor) {
    const char* const all[] = {
        pictures::sea,        pictures::stopwatch,      pictures::nextSmile, pictures::nextStraight,
        pictures::nextLaugh,  pictures::exitNoEntry,    pictures::cursorBoy, pictures::iconPointer,
        pictures::windowIcon, pictures::windowIconSmall};
    for (const char* resource : all) {
        for (const qreal ratio : {1.0, 1.5, 3.0}) {
            SCOPED_TRACE(std::string(resource) + " at " + std::to_string(ratio));
            ASSERT_TRUE(pictureExists(resource));
            const QPixmap pixmap = renderPicture(resource, QSize(40, 30), ratio);
            ASSERT_EQ(pixmap.size(), QSize(40, 30) * ratio);
            const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
            bool drawn = false;
            for (int y = 0; y < image.height() && !drawn; ++y) {
                for (int x = 0; x < image.width() && !drawn; ++x) {
                    drawn = qAlpha(image.pixel(x, y)) > 0;
                }
            }
            EXPECT_TRUE(drawn) << "nothing drawn";
        }
        EXPECT_FALSE(pictureIcon(resource).isNull());
    }
    EXPECT_FALSE(pictureExists(":/pictures/missing.svg"));
    EXPECT_TRUE(renderPicture(":/pictures/missing.svg", QSize(32, 32)).isNull());
}

}  // namespace
}  // namespace quimbra::window
