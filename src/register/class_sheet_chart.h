#pragma once
// One pupil's right answers game by game, as bars, oldest on the left, each
// with the date it was played.

#include <QStringList>
#include <QWidget>

#include <vector>

namespace quimbra::teacher {

class RightAnswersChart final : public QWidget {
  public:
    explicit RightAnswersChart(QWidget* parent = nullptr);
    void setPupil(const QString& name, std::vector<int> right, QStringList dates);

    QSize sizeHint() const override { return {320, 180}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString name_;
    std::vector<int> right_;
    QStringList dates_;
};

// Draws the chart into `area` of any painter: the window's and the PDF's.
// dates ("08/12") go under the bars where there is room for them, else
// under the first and the last.
void drawRightAnswers(QPainter& painter, const QRect& area, const QString& name,
                      const std::vector<int>& right, const QStringList& dates);

}  // namespace quimbra::teacher
