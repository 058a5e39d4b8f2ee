#pragma once
// The one mapping from the layout's twips to pixels. Every position, size and
// font size of the board goes through it, so the whole board can be drawn
// larger as one (a projector, an interactive whiteboard) by changing factor.

#include <QRect>

#include <cmath>

namespace quimbra::window {

class BoardScale {
  public:
    static constexpr int twipsPerPixel = 15;
    static constexpr int clientWidthTwips = 10410;
    static constexpr int clientHeightTwips = 8310;

    explicit BoardScale(double factor = 1.0) : factor_(factor) {}

    double factor() const { return factor_; }

    int px(int twips) const {
        return static_cast<int>(std::lround(twips * factor_ / twipsPerPixel));
    }

    // Edges are mapped, not sizes, so neighbouring controls that touch or
    // overlap in twips keep doing so in pixels at any factor.
    QRect rect(int left, int top, int width, int height) const {
        const int x = px(left);
        const int y = px(top);
        return {x, y, px(left + width) - x, px(top + height) - y};
    }

    // A point is 20 twips.
    int fontPixels(double points) const {
        return static_cast<int>(std::lround(points * 20.0 * factor_ / twipsPerPixel));
    }

    QSize clientSize() const { return {px(clientWidthTwips), px(clientHeightTwips)}; }

  private:
    double factor_;
};

}  // namespace quimbra::window
