#include "window/class_sheet_pdf.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <functional>

#include "window/look.h"

namespace quimbra::window {
namespace {

// Lays lines out down the pages, starting a new page where one is full.
class Pages {
  public:
    Pages(QPdfWriter& writer, QPainter& painter)
        : writer_(writer), painter_(painter), area_(painter.viewport()) {}

    int width() const { return area_.width(); }

    void text(const QString& line, const QFont& font) {
        const int height = QFontMetrics(font, &writer_).height();
        room(height);
        painter_.setFont(font);
        painter_.drawText(QRect(0, y_, width(), height), Qt::AlignLeft | Qt::AlignVCenter, line);
        y_ += height;
    }

    // One table row; the widths are parts of the page's width.
    void row(const QStringList& cells, const std::vector<double>& widths, const QFont& font,
             bool rule) {
        const QFontMetrics metrics(font, &writer_);
        const int height = metrics.height() * 5 / 4;
        room(height);  // may draw the page's header first
        painter_.setFont(font);
        int x = 0;
        for (qsizetype i = 0; i < cells.size() && std::size_t(i) < widths.size(); ++i) {
            const int w = static_cast<int>(widths[std::size_t(i)] * width());
            painter_.drawText(QRect(x, y_, w - metrics.averageCharWidth(), height),
                              Qt::AlignLeft | Qt::AlignVCenter,
                              metrics.elidedText(cells[i], Qt::ElideRight, w));
            x += w;
        }
        y_ += height;
        if (rule) {
            painter_.drawLine(0, y_, width(), y_);
        }
    }

    void skip(int height) { y_ += height; }

    // Drawn at the top of every page begun from now on: the columns' titles.
    void setPageHeader(std::function<void()> header) { header_ = std::move(header); }

  private:
    void room(int height) {
        if (y_ + height > area_.height()) {
            writer_.newPage();
            y_ = 0;
            if (header_) {
                const auto header = std::move(header_);
                header();
                header_ = header;
            }
        }
    }

    QPdfWriter& writer_;
    QPainter& painter_;
    QRect area_;
    int y_ = 0;
    std::function<void()> header_;
};

std::vector<double> evenWidths(const QStringList& header, double first) {
    std::vector<double> widths(std::size_t(header.size()),
                               (1.0 - first) / double(header.size() - 1));
    widths[0] = first;
    return widths;
}

}  // namespace

bool writeSheetPdf(const QString& file, const SheetPrint& print) {
    QPdfWriter writer(file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setTitle(print.title);
    writer.setCreator(QStringLiteral("Quimbra"));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    // The window's sans face where the system has it: Arial on Windows, its
    // metric twin elsewhere; a family the system lacks falls back to any face.
    QFont body = makeFont({Face::arial, 9, false, false}, BoardScale());
    body.setPointSizeF(9);
    QFont bold = body;
    bold.setBold(true);
    QFont title = bold;
    title.setPointSizeF(16);
    QFont heading = bold;
    heading.setPointSizeF(12);

    Pages pages(writer, painter);
    pages.text(print.title, title);
    for (const QString& line : print.lines) {
        pages.text(line, body);
    }
    pages.skip(QFontMetrics(body, &writer).height());
    pages.text(QStringLiteral("Alunni"), heading);
    const std::vector<double> summaryWidths = evenWidths(print.summaryHeader, 0.4);
    pages.row(print.summaryHeader, summaryWidths, bold, true);
    for (const QStringList& row : print.summary) {
        pages.row(row, summaryWidths, body, false);
    }
    pages.skip(QFontMetrics(body, &writer).height());
    pages.text(QStringLiteral("Partite"), heading);
    const std::vector<double> rowWidths = {0.11, 0.07, 0.22, 0.08, 0.09, 0.07, 0.14, 0.07, 0.15};
    pages.row(print.rowsHeader, rowWidths, bold, true);
    pages.setPageHeader([&] { pages.row(print.rowsHeader, rowWidths, bold, true); });
    for (const QStringList& row : print.rows) {
        pages.row(row, rowWidths, body, false);
    }
    return painter.end();
}

}  // namespace quimbra::window
