#include "register/class_sheet_chart.h"

#include <QPainter>

#include <algorithm>

namespace quimbra::teacher {

RightAnswersChart::RightAnswersChart(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Esatte partita per partita"));
    setMinimumSize(160, 100);
}

void RightAnswersChart::setPupil(const QString& name, std::vector<int> right, QStringList dates) {
    name_ = name;
    right_ = std::move(right);
    dates_ = std::move(dates);
    setAccessibleDescription(name_);
    update();
}

void RightAnswersChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setPen(palette().text().color());
    drawRightAnswers(painter, rect().adjusted(4, 4, -4, -4), name_, right_, dates_);
}

void drawRightAnswers(QPainter& painter, const QRect& area, const QString& name,
                      const std::vector<int>& right, const QStringList& dates) {
    const QFontMetrics metrics(painter.font());
    const int line = metrics.height();
    const QString title = name.isEmpty()
                              ? QStringLiteral("Scegli un alunno per vedere le sue partite")
                              : QStringLiteral("Esatte di %1, partita per partita").arg(name);
    painter.drawText(QRect(area.left(), area.top(), area.width(), line), Qt::AlignLeft,
                     metrics.elidedText(title, Qt::ElideRight, area.width()));
    if (right.empty()) {
        return;
    }
    const int most = std::max(1, *std::max_element(right.begin(), right.end()));
    const int axis = metrics.horizontalAdvance(QString::number(most)) + line / 2;
    const bool dated = dates.size() == qsizetype(right.size());
    // Below the plot the dates, or half a line: the "0" is centred on its bottom edge.
    const QRect plot(area.left() + axis, area.top() + line * 2, area.width() - axis,
                     area.height() - (dated ? line * 3 : line * 2 + line / 2));
    if (plot.height() < line || plot.width() < 4) {
        return;
    }
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawText(QRect(area.left(), plot.top() - line / 2, axis - line / 4, line),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(most));
    painter.drawText(QRect(area.left(), plot.bottom() - line / 2, axis - line / 4, line),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
    const double slot = plot.width() / double(right.size());
    const bool labels = slot >= metrics.horizontalAdvance(QString::number(most)) + 2;
    const QColor bar(0x2e, 0x7d, 0x32);
    for (std::size_t i = 0; i < right.size(); ++i) {
        const int height = static_cast<int>(plot.height() * double(right[i]) / most);
        const int left = plot.left() + static_cast<int>(slot * double(i) + slot * 0.15);
        const int width = std::max(1, static_cast<int>(slot * 0.7));
        painter.fillRect(QRect(left, plot.bottom() - height, width, height), bar);
        if (labels) {
            painter.drawText(QRect(left - 20, plot.bottom() - height - line, width + 40, line),
                             Qt::AlignHCenter | Qt::AlignBottom, QString::number(right[i]));
        }
    }
    if (!dated) {
        return;
    }
    // Every date where they fit side by side, else the first and the last.
    const int dateWidth = metrics.horizontalAdvance(QStringLiteral("00/00")) + line / 2;
    const bool every = slot >= dateWidth;
    for (std::size_t i = 0; i < right.size(); ++i) {
        if (!every && i != 0 && i + 1 != right.size()) {
            continue;
        }
        const int centre = plot.left() + static_cast<int>(slot * (double(i) + 0.5));
        const int left = std::clamp(centre - dateWidth / 2, plot.left(), plot.right() - dateWidth);
        painter.drawText(QRect(left, plot.bottom() + 2, dateWidth, line),
                         Qt::AlignHCenter | Qt::AlignTop, dates[qsizetype(i)]);
    }
}

}  // namespace quimbra::teacher
