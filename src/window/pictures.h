#pragma once
// The window's pictures: their resource names, and how they are drawn. The
// SVG files are the one source; where Qt SVG is missing (the Windows build)
// they come ready rendered as PNG at 1, 2 and 3 times their size.

#include <QIcon>
#include <QPixmap>
#include <QPixmapCache>
#include <QSize>
#include <QString>

namespace quimbra::window {

namespace pictures {
inline constexpr const char* sea = ":/pictures/sea.svg";
inline constexpr const char* stopwatch = ":/pictures/stopwatch.svg";
inline constexpr const char* nextSmile = ":/pictures/next_smile.svg";
inline constexpr const char* nextStraight = ":/pictures/next_straight.svg";
inline constexpr const char* nextLaugh = ":/pictures/next_laugh.svg";
inline constexpr const char* exitNoEntry = ":/pictures/exit_noentry.svg";
inline constexpr const char* cursorBoy = ":/pictures/cursor_boy.svg";
inline constexpr const char* iconPointer = ":/pictures/icon_pointer.svg";
inline constexpr const char* windowIcon = ":/pictures/window_icon.svg";
inline constexpr const char* windowIconSmall = ":/pictures/window_icon_small.svg";
}  // namespace pictures

bool pictureExists(const QString& resource);

// The picture drawn to fill exactly size (in device-independent pixels) on a
// display of the given ratio; a null pixmap when it is missing.
QPixmap drawPicture(const QString& resource, QSize size, qreal devicePixelRatio);

// The same, drawn once per size and ratio and then kept while the cache has
// room: a restored window and a new game's window draw nothing again.
inline QPixmap renderPicture(const QString& resource, QSize size, qreal devicePixelRatio = 1.0) {
    const QString key = QStringLiteral("quimbra:%1:%2x%3@%4")
                            .arg(resource)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(devicePixelRatio);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = drawPicture(resource, size, devicePixelRatio);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

// The picture as an icon, sharp at every size the desktop asks for.
QIcon pictureIcon(const QString& resource);

}  // namespace quimbra::window
