#include "board/board_layout.h"

#include <algorithm>
#include <cmath>

namespace quimbra::window {

namespace {

// In twips, grown with the board: between board and pad, between two keys,
// and at least beside the pad.
constexpr int padGapTwips = 240;
constexpr int keyGapTwips = 120;
constexpr int marginTwips = 240;

}  // namespace

QSize BoardLayout::padSize(QSize key, int gap) {
    return {padColumns * key.width() + (padColumns - 1) * gap,
            padRows * key.height() + (padRows - 1) * gap};
}

double BoardLayout::fitFactor(QSize window, const BoardScale& design,
                              const MenuHeight& menuHeight) {
    // The largest board that fits the window below a menu bar grown by the
    // same factor, keeping its proportions; the design size exactly when the
    // window is as small as it may be.
    const QSize client = design.clientSize();
    const double least = design.factor();
    const QSize designWindow(client.width(), client.height() + menuHeight(least));
    if (window == designWindow) {
        return least;
    }
    const double factor = least * std::min(window.width() / double(designWindow.width()),
                                           window.height() / double(designWindow.height()));
    // The menu bar's height does not grow exactly in step with its font.
    const int menu = menuHeight(factor);
    return std::max(least, std::min(factor, least * (window.height() - menu) / client.height()));
}

BoardLayout::BoardLayout(QSize window, const BoardScale& design, const MenuHeight& menuHeight)
    : scale_(fitFactor(window, design, menuHeight)) {
    if (scale_.factor() <= design.factor() || !placePad(window, design, menuHeight)) {
        menuHeight_ = menuHeight(scale_.factor());
        const QSize board = scale_.clientSize();
        board_ = QRect(QPoint((window.width() - board.width()) / 2,
                              (window.height() - menuHeight_ - board.height()) / 2),
                       board);
    }
    oneSea_ = window.width() > board_.width() || window.height() - menuHeight_ > board_.height();
}

int BoardLayout::fingerKey(QSize window) {
    return std::max(leastKey, static_cast<int>(std::lround(fingerShare * window.width())));
}

bool BoardLayout::placePad(QSize window, const BoardScale& design, const MenuHeight& menuHeight) {
    // The keys are a fingertip's size, and the board takes the rest: it
    // shrinks until the pad fits beside it, not below its design size,
    // where the keys narrow instead.
    const int finger = fingerKey(window);
    const auto widthAt = [&](const BoardScale& s) {
        return s.px(BoardScale::clientWidthTwips) + s.px(padGapTwips) + padColumns * finger +
               (padColumns - 1) * s.px(keyGapTwips) + s.px(marginTwips);
    };
    const int twips =
        BoardScale::clientWidthTwips + padGapTwips + (padColumns - 1) * keyGapTwips + marginTwips;
    double factor = std::min(scale_.factor(), (window.width() - padColumns * finger) *
                                                  double(BoardScale::twipsPerPixel) / twips);
    while (factor > design.factor() && widthAt(BoardScale(factor)) > window.width()) {
        factor -= 0.001;
    }
    const BoardScale scale(std::max(factor, design.factor()));
    const int gap = scale.px(padGapTwips);
    const int keyGap = scale.px(keyGapTwips);
    QSize key(finger, finger);
    const QSize board = scale.clientSize();
    if (factor < design.factor()) {
        const int room = window.width() - board.width() - gap - scale.px(marginTwips);
        key.setWidth(std::min(finger, (room - (padColumns - 1) * keyGap) / padColumns));
    }
    const int menu = menuHeight(scale.factor());
    const int sea = window.height() - menu;
    // The highest a key may lie, in the sea.
    const int highest = static_cast<int>(std::ceil(highestKey * window.height())) - menu;
    const int room = sea - std::max(0, highest);
    if (padSize(key, keyGap).height() > room) {
        key.setHeight((room - (padRows - 1) * keyGap) / padRows);
    }
    if (std::min(key.width(), key.height()) < leastKey) {
        return false;
    }
    scale_ = scale;
    menuHeight_ = menu;
    key_ = key;
    keyGap_ = keyGap;
    const QSize pad = padSize(key, keyGap);
    const int left = (window.width() - board.width() - gap - pad.width()) / 2;
    board_ = QRect(QPoint(left, (sea - board.height()) / 2), board);
    // Low: level with the board's bottom, where its buttons are.
    const int top = std::clamp(board_.bottom() + 1 - pad.height(), highest, sea - pad.height());
    pad_ = QRect(QPoint(board_.right() + 1 + gap, top), pad);
    return true;
}

double fillingFactor(QSize screen) {
    const QSize design = BoardScale().clientSize();
    return std::max(1.0, std::min(screen.width() / double(design.width()),
                                  screen.height() / double(design.height())));
}

}  // namespace quimbra::window
