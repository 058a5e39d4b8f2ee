#include "register/class_sheet_pdf.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <functional>

#include "register/class_sheet_chart.h"

namespace quimbra::teacher {
namespace {

// Lays lines out down the pages, starting a new page where one is full,
// with the page's number at its foot. Run once without drawing (dry) to
// count the pages, then for real.
class Pages {
  public:
    Pages(QPdfWriter& writer, QPainter& painter, const QFont& footFont, int total)
        : writer_(writer),
          painter_(painter),
          area_(painter.viewport()),
          footFont_(footFont),
          footHeight_(QFontMetrics(footFont, &writer).height() * 2),
          total_(total) {
        area_.setHeight(area_.height() - footHeight_);
    }

    int width() const { return area_.width(); }
    int page() const { return page_; }

    void text(const QString& line, const QFont& font) {
        const int height = QFontMetrics(font, &writer_).height();
        room(height);
        if (drawing()) {
            painter_.setFont(font);
            painter_.drawText(QRect(0, y_, width(), height), Qt::AlignLeft | Qt::AlignVCenter,
                              line);
        }
        y_ += height;
    }

    // A drawing of the given height, on one page.
    void picture(int height, const std::function<void(QPainter&, const QRect&)>& draw) {
        room(height);
        if (drawing()) {
            draw(painter_, QRect(0, y_, width(), height));
        }
        y_ += height;
    }

    // The last page's foot.
    void finish() { foot(); }

    // One table row; the widths are parts of the page's width.
    void row(const QStringList& cells, const std::vector<double>& widths, const QFont& font,
             bool rule) {
        const QFontMetrics metrics(font, &writer_);
        const int height = metrics.height() * 5 / 4;
        room(height);  // may draw the page's header first
        if (drawing()) {
            painter_.setFont(font);
            int x = 0;
            for (qsizetype i = 0; i < cells.size() && std::size_t(i) < widths.size(); ++i) {
                const int w = static_cast<int>(widths[std::size_t(i)] * width());
                painter_.drawText(QRect(x, y_, w - metrics.averageCharWidth(), height),
                                  Qt::AlignLeft | Qt::AlignVCenter,
                                  metrics.elidedText(cells[i], Qt::ElideRight, w));
                x += w;
            }
        }
        y_ += height;
        if (rule && drawing()) {
            painter_.drawLine(0, y_, width(), y_);
        }
    }

    void skip(int height) { y_ += height; }

    // Drawn at the top of every page begun from now on: the columns' titles.
    void setPageHeader(std::function<void()> header) { header_ = std::move(header); }

  private:
    bool drawing() const { return total_ > 0; }

    void foot() {
        if (drawing()) {
            painter_.setFont(footFont_);
            painter_.drawText(QRect(0, area_.height(), width(), footHeight_),
                              Qt::AlignHCenter | Qt::AlignBottom,
                              QStringLiteral("pagina %1 di %2").arg(page_).arg(total_));
        }
    }

    void room(int height) {
        if (y_ + height > area_.height()) {
            foot();
            if (drawing()) {
                writer_.newPage();
            }
            ++page_;
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
    QFont footFont_;
    int footHeight_;
    int total_;  // 0: counting, nothing drawn
    int page_ = 1;
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

int writeSheetPdf(const QString& file, const SheetPrint& print) {
    QPdfWriter writer(file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setTitle(print.title);
    writer.setCreator(QStringLiteral("Quimbra"));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return 0;
    }
    // The game's sans face where the system has it: Arial on Windows, its
    // metric twin elsewhere; a family the system lacks falls back to any face.
    QFont body;
    body.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    body.setStyleHint(QFont::SansSerif);
    body.setPointSizeF(9);
    QFont bold = body;
    bold.setBold(true);
    QFont title = bold;
    title.setPointSizeF(16);
    QFont heading = bold;
    heading.setPointSizeF(12);
    const int line = QFontMetrics(body, &writer).height();

    const auto lay = [&](Pages& pages) {
        pages.text(print.title, title);
        for (const QString& text : print.lines) {
            pages.text(text, body);
        }
        pages.skip(line);
        pages.text(QStringLiteral("Alunni"), heading);
        const std::vector<double> summaryWidths = evenWidths(print.summaryHeader, 0.4);
        pages.row(print.summaryHeader, summaryWidths, bold, true);
        for (const QStringList& row : print.summary) {
            pages.row(row, summaryWidths, body, false);
        }
        if (!print.chartName.isEmpty()) {
            pages.skip(line);
            pages.picture(line * 14, [&](QPainter& p, const QRect& area) {
                p.setFont(body);
                drawRightAnswers(p, area, print.chartName, print.chartRight, print.chartDates);
            });
        }
        pages.skip(line);
        pages.text(QStringLiteral("Partite"), heading);
        const std::vector<double> rowWidths = {0.11, 0.07, 0.22, 0.08, 0.09,
                                               0.07, 0.14, 0.07, 0.15};
        pages.row(print.rowsHeader, rowWidths, bold, true);
        pages.setPageHeader([&] { pages.row(print.rowsHeader, rowWidths, bold, true); });
        for (const QStringList& row : print.rows) {
            pages.row(row, rowWidths, body, false);
        }
        pages.finish();
    };
    Pages counting(writer, painter, body, 0);
    lay(counting);
    Pages pages(writer, painter, body, counting.page());
    lay(pages);
    return painter.end() ? pages.page() : 0;
}

}  // namespace quimbra::teacher
