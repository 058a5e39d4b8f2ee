#pragma once
// One pupil's right answers game by game, as bars, oldest on the left.

#include <QWidget>

#include <vector>

namespace quimbra::teacher {

class RightAnswersChart final : public QWidget {
  public:
    explicit RightAnswersChart(QWidget* parent = nullptr);
    void setPupil(const QString& name, std::vector<int> right);

    QSize sizeHint() const override { return {320, 180}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString name_;
    std::vector<int> right_;
};

// Draws the chart into `area` of any painter: the window's and the PDF's.
void drawRightAnswers(QPainter& painter, const QRect& area, const QString& name,
                      const std::vector<int>& right);

}  // namespace quimbra::teacher
