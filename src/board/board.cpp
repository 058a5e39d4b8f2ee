#include "board/board.h"

#include <QPainter>
#include <QPainterPath>

#include "board/board_rows.h"
#include "window/pictures.h"

namespace quimbra::window {

void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    if (widget->palette().color(role) != colour) {
        QPalette p = widget->palette();
        p.setColor(role, colour);
        widget->setPalette(p);
    }
}

namespace {

// A plain area of one colour: the fraction line.
QWidget* filledWidget(QWidget* parent, const char* name, Colour colour) {
    auto* widget = new QWidget(parent);
    widget->setObjectName(name);
    widget->setAutoFillBackground(true);
    setColour(widget, QPalette::Window, toQColor(colour, widget->palette()));
    return widget;
}

// Below the answer box, at the question's end; big enough at every scale for
// a child's finger.
constexpr QRect speakerTwips(8640, 1860, 780, 780);

// A loudspeaker with two waves, drawn for the button's side.
QIcon speakerIcon(int side, qreal ratio, const QColor& ink) {
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 24.0, side / 24.0);
    QPainterPath cone;
    cone.addPolygon(QPolygonF({{3, 9}, {7, 9}, {12, 4}, {12, 20}, {7, 15}, {3, 15}}));
    cone.closeSubpath();
    p.fillPath(cone, ink);
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(9, 7, 7, 10), -50 * 16, 100 * 16);
    p.drawArc(QRectF(8, 3, 13, 18), -50 * 16, 100 * 16);
    return QIcon(pixmap);
}

}  // namespace

// A caption as a label shows it: line ends of any kind (CR LF from the
// record files) become one line break, other control characters are dropped.
QString shownText(const std::string& caption) {
    QString text = QString::fromStdString(caption);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    text.removeIf([](QChar c) { return c != u'\n' && c.category() == QChar::Other_Control; });
    return text;
}

Board::Board(QWidget* parent, const Controls& controls, const BoardScale& scale)
    : QWidget(parent), scale_(scale) {
    setObjectName("board");
    setAutoFillBackground(true);
    setColour(this, QPalette::Window, toQColor(colours::lightYellow, palette()));
    for (const BoardRow& row : boardRows) {
        // Transparent, as every label of the board: a QLabel paints no background.
        auto* widget = new QLabel(this);
        widget->setObjectName(row.name);
        if (row.model != nullptr) {
            widget->setText(shownText((controls.*row.model).caption));
        }
        widget->setToolTip(QString::fromUtf8(row.tip));
        widget->setAccessibleDescription(QString::fromUtf8(row.description));
        if (row.picture != nullptr) {
            placed_.push_back({widget, row.twips, std::nullopt});
            continue;
        }
        widget->setTextFormat(Qt::PlainText);
        widget->setAlignment(Qt::AlignTop | (row.style.centred ? Qt::AlignHCenter : Qt::AlignLeft));
        // Fixed-size labels wrap long texts onto further lines, as the desktop's
        // labels do; auto-size labels grow instead.
        widget->setWordWrap(!row.style.autoSize);
        // The text takes the model's colour; the border keeps the window-text one.
        widget->setForegroundRole(QPalette::Text);
        widget->setIndent(row.style.bordered ? 0 : -1);
        placed_.push_back({widget, row.twips, row.style.font});
        labels_.push_back({&row, widget, row.style.fittedAtOnce});
    }
    line_ = filledWidget(this, "Line2", colours::magenta);
    line_->stackUnder(label("Label2"));
    addPieces();

    // The text box and the buttons lie in front of everything else.
    answer_ = new AnswerBox(this);
    answer_->setObjectName("txtAnswer");
    placed_.push_back({answer_, answerTwips, std::nullopt});
    answer_->setMaxLength(answerLength);
    answer_->setToolTip("Inserisci il risultato e  premi il tasto  Invio");
    answer_->setAccessibleName(QStringLiteral("risposta"));
    setColour(answer_, QPalette::Text, toQColor(colours::darkBlue, palette()));
    setColour(answer_, QPalette::Base, toQColor(colours::cyan, palette()));

    for (const ButtonRow& row : buttonRows) {
        const auto face = [](const char* picture) {
            return picture != nullptr ? QString::fromLatin1(picture) : QString();
        };
        auto* button = new PictureButton(
            this, QString::fromLatin1(row.caption), toQColor(row.face, palette()),
            {face(row.pictures[0]), face(row.pictures[1]), face(row.pictures[2])}, scale_);
        button->setObjectName(row.name);
        button->setToolTip(QString::fromUtf8(row.tip));
        button->setAccessibleName(QString::fromUtf8(row.accessibleName));
        placed_.push_back(
            {button, nextButtonTwips.translated(row.left - nextButtonLeft, 0), buttonFont});
        (row.left == nextButtonLeft ? next_ : exit_) = button;
    }

    speaker_ = new QToolButton(this);
    speaker_->setObjectName("cmdVoce");
    speaker_->setAccessibleName(QStringLiteral("Leggi la domanda"));
    speaker_->setToolTip(QString::fromLatin1(speakerTip));
    speaker_->setAutoRaise(false);
    speaker_->hide();
    placed_.push_back({speaker_, speakerTwips, std::nullopt});
}

void Board::addPieces() {
    for (int row = 1; row <= 9; ++row) {
        const PieceRow& layout = pieceRows().at(static_cast<std::size_t>(row - 1));
        auto& widgets = pieces_.at(static_cast<std::size_t>(row - 1));
        const int pieces = static_cast<int>(layout.lefts.size());
        widgets.resize(layout.lefts.size(), nullptr);
        for (int i = 0; i < pieces; ++i) {
            const int index = layout.backToFront.empty()
                                  ? i + 1
                                  : layout.backToFront.at(static_cast<std::size_t>(i));
            auto* piece = new QFrame(this);
            piece->setObjectName(QString("Shape%1(%2)").arg(row).arg(index));
            piece->setFrameStyle(QFrame::Box | QFrame::Plain);
            piece->setAutoFillBackground(true);
            piece->stackUnder(findChild<QWidget*>(
                index <= layout.firstBehindCount ? layout.firstBehind : layout.behind));
            const bool end = layout.endWidth != 0 && (index == 1 || index == pieces);
            placed_.push_back({piece,
                               {layout.lefts.at(static_cast<std::size_t>(index - 1)), barTop,
                                end ? layout.endWidth : layout.width, barHeight},
                               std::nullopt});
            widgets.at(static_cast<std::size_t>(index - 1)) = piece;
        }
    }
}

QFrame* Board::piece(int row, int index) const {
    return pieces_.at(static_cast<std::size_t>(row - 1)).at(static_cast<std::size_t>(index - 1));
}

void Board::show(const Controls& controls) {
    const QPalette& pal = palette();
    for (ModelLabel& l : labels_) {
        const Label& model = controls.*(l.row->model);
        const QString text = shownText(model.caption);
        // The design-time size belongs to the design-time text: an auto-size
        // label is fitted only when its text changes, keeping its top left.
        if (l.widget->text() != text) {
            l.widget->setText(text);
            if (l.row->style.autoSize) {
                l.widget->adjustSize();
                l.fitted = true;
            }
        }
        setColour(l.widget, QPalette::Text, toQColor(model.foreColour, pal));
    }
    for (int row = 1; row <= 9; ++row) {
        const ShapeRow& model = controls.Shape(row);
        for (int index = 1; index <= model.count(); ++index) {
            const Piece& p = model(index);
            QFrame* w = piece(row, index);
            // The unfilled piece shows the window background inside its border.
            const bool filled = !(row == 9 && index == 2);
            setColour(w, QPalette::Window,
                      filled ? toQColor(p.fill, pal) : pal.color(QPalette::Base));
            setColour(w, QPalette::WindowText, toQColor(p.border, pal));
            w->setVisible(p.visible);
        }
    }
    speaker_->setVisible(controls.readAloud);
    const QString answer = QString::fromStdString(controls.txtAnswer);
    if (answer_->text() != answer) {
        answer_->setText(answer);
    }
}

void Board::applyScale(const BoardScale& scale) {
    scale_ = scale;
    for (const Placed& p : placed_) {
        p.widget->setGeometry(
            scale_.rect(p.twips.x(), p.twips.y(), p.twips.width(), p.twips.height()));
        if (p.font) {
            p.widget->setFont(makeFont(*p.font, scale_));
        }
    }
    answer_->setFittedFont(makeFont(answerFont, scale_));
    // Borders are one pixel at design size and grow with the board.
    const int border = std::max(1, static_cast<int>(std::lround(scale_.factor())));
    for (const auto& row : pieces_) {
        for (QFrame* piece : row) {
            piece->setLineWidth(border);
        }
    }
    for (const BoardRow& row : boardRows) {
        if (row.picture != nullptr) {
            QLabel* picture = label(row.name);
            picture->setPixmap(renderPicture(QString::fromLatin1(row.picture), picture->size(),
                                             devicePixelRatioF()));
        }
    }
    for (const ModelLabel& l : labels_) {
        if (l.row->style.bordered) {
            // A frame would be drawn in the text's colour; the border is the
            // window text's, as on the desktop.
            l.widget->setStyleSheet(
                QStringLiteral("QLabel { border: %3px solid %1; padding: %2px; }")
                    .arg(palette().color(QPalette::WindowText).name())
                    .arg(std::max(0, scale_.px(30) - border))
                    .arg(border));
        }
        if (l.fitted) {
            l.widget->adjustSize();
        } else if (l.row->style.autoSize) {
            // Its design-time text, wider than its box at this size (the
            // faces do not grow in step with the board): widened, not cut.
            const int room = l.widget->contentsRect().width();
            const int text = l.widget->fontMetrics().horizontalAdvance(l.widget->text());
            if (text > room) {
                l.widget->resize(l.widget->width() + text - room, l.widget->height());
            }
        }
    }
    const LineRow& line = fractionLine;
    const int thickness =
        std::max(1, static_cast<int>(std::lround(line.thickness * scale_.factor())));
    line_->setGeometry(scale_.px(line.left), scale_.px(line.y) - thickness / 2,
                       scale_.px(line.right) - scale_.px(line.left) + 1, thickness);
    next_->setScale(scale_);
    exit_->setScale(scale_);
    const int side = speaker_->width() * 3 / 4;
    speaker_->setIconSize(QSize(side, side));
    speaker_->setIcon(
        speakerIcon(side, devicePixelRatioF(), toQColor(colours::darkBlue, palette())));

    setFixedSize(scale_.clientSize());
}

}  // namespace quimbra::window
