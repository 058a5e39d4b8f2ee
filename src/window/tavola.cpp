#include "window/tavola.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

#include "window/accessibility.h"
#include "window/pictures.h"

namespace quimbra::window {

namespace {

// The title bar and the taskbar ask for 16 to 32 pixels, where the window in
// miniature is a blur: there the icon is the simple mark, as in Explorer.
QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const char* resource = size <= 32 ? pictures::windowIconSmall : pictures::windowIcon;
        icon.addPixmap(renderPicture(QString::fromLatin1(resource), QSize(size, size)));
    }
    return icon;
}

// The board behind every control: the window's light yellow, which the sea
// picture covers.
class Board final : public QWidget {
  public:
    explicit Board(QWidget* parent) : QWidget(parent) {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, toQColor(colours::lightYellow, p));
        setPalette(p);
    }
};

// The sea behind the board: it fills whatever the board leaves of the
// window, drawn for its size, keeping the picture's proportions.
class Sea final : public QWidget {
  public:
    explicit Sea(QWidget* parent) : QWidget(parent) {}
    QSize sizeHint() const override { return minimumSize(); }

  protected:
    void paintEvent(QPaintEvent*) override {
        // At the design size the board covers all of it: nothing to draw or keep.
        if (childrenRect().contains(rect())) {
            cache_ = QPixmap();
            return;
        }
        const QSizeF natural =
            QSizeF(pictureAspect, 1.0).scaled(size(), Qt::KeepAspectRatioByExpanding);
        const QSize cover = natural.toSize().expandedTo(size());
        const qreal ratio = devicePixelRatioF();
        if (cache_.isNull() || cache_.size() != cover * ratio) {
            cache_ = renderPicture(QString::fromLatin1(pictures::sea), cover, ratio);
        }
        QPainter painter(this);
        painter.fillRect(rect(), toQColor(colours::lightYellow, palette()));
        painter.drawPixmap((width() - cover.width()) / 2, (height() - cover.height()) / 2, cache_);
    }

  private:
    static constexpr double pictureAspect = 640.0 / 480.0;
    QPixmap cache_;
};

QCursor pictureCursor(const char* resource, const BoardScale& scale, const QCursor& fallback) {
    const int side = scale.px(480);
    const QPixmap pixmap = renderPicture(QString::fromLatin1(resource), QSize(side, side));
    if (pixmap.isNull()) {
        return fallback;
    }
    return QCursor(pixmap, side / 2, side / 2);
}

QString fromModel(const std::string& text) {
    return QString::fromStdString(text);
}

// A caption as a label shows it: line ends of any kind (CR LF from the
// record files) become one line break, other control characters are dropped.
QString shownText(const std::string& caption) {
    QString text = fromModel(caption);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    text.removeIf([](QChar c) { return c != u'\n' && c.category() == QChar::Other_Control; });
    return text;
}

// Piece lefts of each row, in twips; every piece has the row's width except
// where noted.
struct RowLayout {
    int width;
    std::vector<int> lefts;
};

const std::array<RowLayout, 9>& rowLayouts() {
    static const std::array<RowLayout, 9> rows{{
        {1605, {1920, 3480, 5040, 6600}},
        {2115, {1920, 4020, 6120}},
        {1290, {1920, 3195, 4470, 5730, 6960}},
        {1155, {1920, 2955, 3975, 5025, 6075, 7080}},
        {915, {1920, 2775, 3675, 4575, 5475, 6375, 7275}},
        {810, {1920, 2685, 3480, 4275, 5055, 5835, 6630, 7395}},
        {735, {1920, 2640, 3360, 4080, 4755, 5445, 6120, 6795, 7440}},
        {690, {1920, 2580, 3255, 3885, 4560, 5160, 5760, 6360, 6960, 7560}},
        {3195, {1920, 5055}},
    }};
    return rows;
}

int pieceWidth(int row, int index) {
    if (row == 8 && (index == 1 || index == 10)) {
        return 675;
    }
    return rowLayouts().at(static_cast<std::size_t>(row - 1)).width;
}

constexpr int barTop = 3480;
constexpr int barHeight = 495;

constexpr FontChoice sans(double points, bool bold, bool italic = false) {
    return {Face::msSansSerif, points, bold, italic};
}

}  // namespace

Tavola::Tavola(Controls& controls, TavolaEvents& events, const BoardScale& scale)
    : controls_(controls), events_(events), designScale_(scale), scale_(scale) {
    setObjectName("Tavola");
    installBoardAccessibility();
    build();
    buildMenus();
    describeForScreenReaders(*this);
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, [this] {
        events_.tick();
        render();
    });
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                          [this](QWidget*, QWidget* now) { onFocusChanged(now); });
    render();
}

Tavola::~Tavola() {
    // The focus moves while the children go; the model is no longer ours.
    disconnect(focusWatch_);
    timer1_.stop();
}

QLabel* Tavola::addLabel(const char* name, Label Controls::*model, int left, int top, int width,
                         int height, const LabelStyle& style) {
    // Transparent, as every label of the board: a QLabel paints no background.
    auto* widget = new QLabel(shownText((controls_.*model).caption), board_);
    widget->setObjectName(name);
    widget->setTextFormat(Qt::PlainText);
    widget->setAlignment(Qt::AlignTop | (style.centred ? Qt::AlignHCenter : Qt::AlignLeft));
    // Fixed-size labels wrap long texts onto further lines, as the desktop's
    // labels do; auto-size labels grow instead.
    widget->setWordWrap(!style.autoSize);
    // The text takes the model's colour; the border keeps the window-text one.
    widget->setForegroundRole(QPalette::Text);
    if (style.bordered) {
        widget->setIndent(0);
    }
    place(widget, {left, top, width, height}, style.font);
    labels_.push_back({model, widget, style.autoSize, style.bordered});
    return widget;
}

void Tavola::place(QWidget* widget, const QRect& twips, std::optional<FontChoice> font) {
    placed_.push_back({widget, twips, font});
}

void Tavola::applyScale() {
    for (const Placed& p : placed_) {
        p.widget->setGeometry(
            scale_.rect(p.twips.x(), p.twips.y(), p.twips.width(), p.twips.height()));
        if (p.font) {
            p.widget->setFont(makeFont(*p.font, scale_));
        }
    }
    // Borders are one pixel at design size and grow with the board.
    const int border = std::max(1, static_cast<int>(std::lround(scale_.factor())));
    for (const auto& row : pieces_) {
        for (PieceWidget* piece : row) {
            piece->setBorderWidth(border);
        }
    }
    for (const ModelLabel& l : labels_) {
        if (l.bordered) {
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
        }
    }
    const int x1 = scale_.px(240);
    const int x2 = scale_.px(960);
    const int thickness = std::max(1, static_cast<int>(std::lround(5 * scale_.factor())));
    line2_->setGeometry(x1, scale_.px(1320) - thickness / 2, x2 - x1 + 1, thickness);
    cmdNext_->setScale(scale_);
    cmdExit_->setScale(scale_);

    const QCursor pointer =
        pictureCursor(pictures::iconPointer, scale_, QCursor(Qt::PointingHandCursor));
    setCursor(pictureCursor(pictures::cursorBoy, scale_, QCursor(Qt::ArrowCursor)));
    cmdNext_->setCursor(pointer);
    message_->setCursor(pointer);

    board_->setFixedSize(scale_.clientSize());
    board_->move((sea_->width() - board_->width()) / 2, (sea_->height() - board_->height()) / 2);
}

void Tavola::fitBoardToSea() {
    // The largest board that fits, keeping its proportions; the design size
    // exactly when the sea is as small as it may be.
    const QSize design = designScale_.clientSize();
    const QSize room = sea_->size();
    double factor = designScale_.factor();
    if (room != design) {
        factor = std::min(
            room.width() * double{BoardScale::twipsPerPixel} / BoardScale::clientWidthTwips,
            room.height() * double{BoardScale::twipsPerPixel} / BoardScale::clientHeightTwips);
        factor = std::max(factor, designScale_.factor());
    }
    if (factor != scale_.factor()) {
        scale_ = BoardScale(factor);
        applyScale();
    } else {
        board_->move((room.width() - board_->width()) / 2, (room.height() - board_->height()) / 2);
    }
}

void Tavola::addPieces(int row, int first, int last) {
    const RowLayout& layout = rowLayouts().at(static_cast<std::size_t>(row - 1));
    auto& widgets = pieces_.at(static_cast<std::size_t>(row - 1));
    widgets.resize(layout.lefts.size(), nullptr);
    if (last == 0) {
        last = static_cast<int>(layout.lefts.size());
    }
    // Created back to front: a higher index lies in front of its neighbour,
    // except that the first piece of the fourth row covers its second.
    std::vector<int> order;
    for (int i = first; i <= last; ++i) {
        order.push_back(i);
    }
    if (row == 4 && first == 1) {
        std::swap(order[0], order[1]);
    }
    for (int index : order) {
        const bool filled = !(row == 9 && index == 2);
        auto* widget = new PieceWidget(board_, filled);
        widget->setObjectName(QString("Shape%1(%2)").arg(row).arg(index));
        place(widget, {layout.lefts.at(static_cast<std::size_t>(index - 1)), barTop,
                       pieceWidth(row, index), barHeight});
        widgets.at(static_cast<std::size_t>(index - 1)) = widget;
    }
}

void Tavola::build() {
    sea_ = new Sea(this);
    sea_->setObjectName("sea");
    // Never smaller than the board at its design size; larger, the board
    // grows with it as one.
    sea_->setMinimumSize(designScale_.clientSize());
    sea_->installEventFilter(this);
    setCentralWidget(sea_);
    board_ = new Board(sea_);
    board_->setObjectName("board");

    const LabelStyle question{sans(13.5, true), true, false, false};
    const LabelStyle questionLeft{sans(13.5, true), false, false, false};
    const LabelStyle number{sans(24, true), true, false, false};
    const LabelStyle heading{sans(18, false), false, true, true};
    const LabelStyle count{{Face::timesNewRoman, 36, true, false}, true, true, true};
    const LabelStyle plain{windowFont, false, false, false};
    const LabelStyle plainAuto{windowFont, false, false, true};
    const LabelStyle record{sans(18, false), false, false, false};
    const LabelStyle recordAuto{sans(18, false), false, false, true};

    // Back to front.
    image2_ = new PictureWidget(board_, pictures::sea);
    image2_->setObjectName("Image2");
    place(image2_, {0, -360, 10440, 9240});

    addLabel("Label6", &Controls::Label6, 480, 4440, 2565, 495,
             {sans(18, false), true, true, true});
    QLabel* message = addLabel("lblMessage", &Controls::lblMessage, 1800, 2160, 6615, 615,
                               {sans(24, true, true), true, false, false});
    QLabel* score = addLabel("lblScore", &Controls::lblScore, 1320, 5040, 555, 885, count);
    score->setToolTip("Questo \u00e8 il tuo punteggio. Forza con il  record");
    addLabel("Label4", &Controls::Label4, 7440, 120, 615, 975,
             {{Face::arial, 48, true, false}, true, false, false});

    image1_ = new PictureWidget(board_, pictures::stopwatch);
    image1_->setObjectName("Image1");
    place(image1_, {0, 2400, 480, 480});
    image1_->setToolTip("Clicca sotto di me per impostare il Timer");

    addLabel("lblScore1", &Controls::lblScore1, 4680, 5040, 540, 885, count);
    addLabel("lblScore2", &Controls::lblScore2, 8280, 5040, 555, 885, count);
    addLabel("Label1", &Controls::Label1, 3840, 4440, 2520, 495, heading);
    addLabel("Label3", &Controls::Label3, 7320, 4440, 2340, 495, heading);
    addLabel("Label7(0)", &Controls::Label7_0, 1320, 3480, 495, 615, plain);
    addLabel("Label7(1)", &Controls::Label7_1, 8520, 3480, 375, 495, plain);
    addLabel("Label9", &Controls::Label9, -120, 120, 5655, 855, question);

    addPieces(1, 1, 3);
    QLabel* hidden = addLabel("lblnum1", &Controls::lblnum1, 8400, 2160, 495, 735,
                              {sans(24, true), false, false, false});
    hidden->hide();  // only stores the expected answer
    addLabel("lbldeno", &Controls::lbldeno, 240, 1440, 735, 855, number);
    addPieces(1, 4, 4);  // in front of the denominator and lblnum1
    for (int row = 2; row <= 8; ++row) {
        addPieces(row);
    }

    line2_ = new LineWidget(board_, toQColor(colours::magenta, palette()));
    line2_->setObjectName("Line2");

    addLabel("Label2", &Controls::Label2, 6360, 120, 1335, 495, question);
    addLabel("lblnum2", &Controls::lblnum2, 240, 720, 855, 615, number);
    addPieces(9);
    addLabel("Label12", &Controls::Label12, 0, 7440, 2295, 375, record);
    addLabel("lblnome", &Controls::lblnome, 2400, 7440, 990, 435, plainAuto);
    addLabel("Label13", &Controls::Label13, 7920, 7440, 1455, 435, recordAuto);
    addLabel("lblpunti", &Controls::lblpunti, 9600, 7440, 90, 435, recordAuto);
    addLabel("Label11", &Controls::Label11, 0, 1920, 2775, 495,
             {sans(13.5, false), false, false, false});
    addLabel("lblconto", &Controls::lblconto, 480, 2400, 1575, 495,
             {{Face::arialBlack, 12, true, false}, false, true, false});
    addLabel("lblnome1", &Controls::lblnome1, 1560, 6000, 1200, 435, plainAuto);
    addLabel("Label8", &Controls::Label8, 0, 6000, 2055, 735, plain);
    addLabel("Lblmisura", &Controls::Lblmisura, 5400, 0, 165, 555,
             {sans(24, true), false, false, true});
    addLabel("Label10", &Controls::Label10, 1080, 1080, 8535, 735, questionLeft);

    // The text box and the buttons lie in front of everything else.
    txtAnswer_ = new AnswerBox(board_);
    txtAnswer_->setObjectName("txtAnswer");
    place(txtAnswer_, {8160, 120, 2055, 1200}, FontChoice{Face::arial, 48, true, false});
    txtAnswer_->setMaxLength(4);
    txtAnswer_->setToolTip("Inserisci il risultato e  premi il tasto  Invio");
    {
        QPalette p = txtAnswer_->palette();
        p.setColor(QPalette::Text, toQColor(colours::darkBlue, p));
        p.setColor(QPalette::Base, toQColor(colours::cyan, p));
        txtAnswer_->setPalette(p);
    }
    txtAnswer_->setKeyFilter([this](int code) {
        const int kept = events_.keyPress(code);
        render();
        return kept;
    });
    connect(txtAnswer_, &QLineEdit::textChanged, this,
            [this](const QString& text) { controls_.txtAnswer = text.toStdString(); });

    cmdNext_ = new PictureButton(board_, "&Nuovo calcolo", toQColor(colours::green, palette()),
                                 {pictures::nextSmile, pictures::nextLaugh, pictures::nextStraight},
                                 scale_);
    cmdNext_->setObjectName("cmdNext");
    place(cmdNext_, {720, 6480, 1815, 975}, sans(8.25, true));
    cmdNext_->setToolTip("Go");
    cmdNext_->setDefault(true);
    connect(cmdNext_, &QPushButton::clicked, this, [this] {
        events_.clickNext();
        render();
    });

    cmdExit_ = new PictureButton(board_, "E&xit", toQColor(colours::cyan, palette()),
                                 {pictures::exitNoEntry, {}, {}}, scale_);
    cmdExit_->setObjectName("cmdExit");
    place(cmdExit_, {7800, 6480, 1815, 975}, sans(8.25, true));
    cmdExit_->setToolTip("Ti prego resta ancora, forse riuscirai a farmi uscire ");
    connect(cmdExit_, &QPushButton::clicked, this, [this] {
        events_.clickExit();
        render();
    });

    // Only these three take the focus, in this order.
    for (QWidget* w : board_->findChildren<QWidget*>()) {
        if (w != txtAnswer_ && w != cmdNext_ && w != cmdExit_) {
            w->setFocusPolicy(Qt::NoFocus);
        }
    }
    cmdExit_->setFocusPolicy(Qt::StrongFocus);
    cmdNext_->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(cmdExit_, cmdNext_);
    setTabOrder(cmdNext_, txtAnswer_);
    setTabOrder(txtAnswer_, cmdExit_);

    for (QObject* o : {static_cast<QObject*>(this), static_cast<QObject*>(txtAnswer_),
                       static_cast<QObject*>(cmdNext_), static_cast<QObject*>(cmdExit_)}) {
        o->installEventFilter(this);
    }

    message_ = message;
    applyScale();
    setWindowIcon(programIcon());
}

void Tavola::buildMenus() {
    QMenuBar* bar = menuBar();
    // The desktop's menu size, small enough for the four items in one row.
    bar->setFont(makeFont(sans(8.25, false), scale_));
    QMenu* ciao = bar->addMenu("di Autrice Uno e Autore Due");
    ciao->setObjectName("Ciao(1)");
    ciao->addAction("Via dell'Esempio 1 - 00000 Paese Esempio")->setObjectName("Tmer(1)");

    newGame_ = bar->addAction("NUOVO GIOCO");
    newGame_->setObjectName("new");
    connect(newGame_, &QAction::triggered, this, [this] {
        events_.clickNewGame();
        render();
    });

    QMenu* school = bar->addMenu("www.scuola.example");
    school->setObjectName("scuola");
    school->addAction("Scuola Primaria Statale \"Esempio\"")->setObjectName("ist");

    QAction* mail = bar->addAction("E-mail autori: autori@scuola.example" + QString(16, u' '));
    mail->setObjectName("df");
}

QList<QAction*> Tavola::menuItems() const {
    return menuBar()->actions();
}

PieceWidget* Tavola::piece(int row, int index) const {
    return pieces_.at(static_cast<std::size_t>(row - 1)).at(static_cast<std::size_t>(index - 1));
}

void Tavola::start() {
    const bool first = !shown_;
    show();
    if (first) {
        events_.activate();
        render();
    }
}

void Tavola::render() {
    const QPalette& pal = palette();
    for (ModelLabel& l : labels_) {
        const Label& model = controls_.*(l.model);
        const QString text = shownText(model.caption);
        // The design-time size belongs to the design-time text: an auto-size
        // label is fitted only when its text changes, keeping its top left.
        if (l.widget->text() != text) {
            l.widget->setText(text);
            if (l.autoSize) {
                l.widget->adjustSize();
                l.fitted = true;
            }
        }
        const QColor colour = toQColor(model.foreColour, pal);
        if (l.widget->palette().color(QPalette::Text) != colour) {
            QPalette p = l.widget->palette();
            p.setColor(QPalette::Text, colour);
            l.widget->setPalette(p);
        }
    }
    for (int row = 1; row <= 9; ++row) {
        const ShapeRow& model = controls_.Shape(row);
        for (int index = 1; index <= model.count(); ++index) {
            const Piece& p = model(index);
            PieceWidget* w = piece(row, index);
            w->setColours(toQColor(p.fill, pal), toQColor(p.border, pal));
            w->setVisible(p.visible);
        }
    }
    const QString answer = fromModel(controls_.txtAnswer);
    if (txtAnswer_->text() != answer) {
        txtAnswer_->setText(answer);
    }
    // Enable before moving the focus and disable after, so the focus never
    // has to leave a button that is about to be switched off.
    if (controls_.cmdNextEnabled) {
        cmdNext_->setEnabled(true);
    }
    applyFocus();
    if (!controls_.cmdNextEnabled) {
        cmdNext_->setEnabled(false);
    }

    // The clock runs only while the window is on screen and its game goes on.
    const bool ticking = shown_ && isVisible() && controls_.timer1Enabled && !events_.over();
    if (ticking && !timer1_.isActive()) {
        timer1_.start();
    } else if (!ticking && timer1_.isActive()) {
        timer1_.stop();
    }

    const QString title = fromModel(controls_.title);
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
}

void Tavola::applyFocus() {
    // A modal dialog keeps the keyboard; the window's focus follows once it
    // closes.
    if (QApplication::activeModalWidget() != nullptr) {
        return;
    }
    QWidget* target = nullptr;
    switch (controls_.focus) {
        case Focus::cmdExit:
            target = cmdExit_;
            break;
        case Focus::cmdNext:
            target = cmdNext_;
            break;
        case Focus::txtAnswer:
            target = txtAnswer_;
            break;
        case Focus::none:
            break;
    }
    if (target != nullptr && focusWidget() != target && target->isEnabled()) {
        target->setFocus(Qt::OtherFocusReason);
    }
}

void Tavola::onFocusChanged(QWidget* now) {
    if (now == cmdExit_) {
        controls_.focus = Focus::cmdExit;
    } else if (now == cmdNext_) {
        controls_.focus = Focus::cmdNext;
    } else if (now == txtAnswer_) {
        controls_.focus = Focus::txtAnswer;
    }
}

bool Tavola::menuKey(const QKeyEvent* key) {
    QMenuBar* bar = menuBar();
    const QList<QAction*> items = bar->actions();
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier) {
        bar->setActiveAction(items.constFirst());
        return true;
    }
    // Between the menus (on "NUOVO GIOCO" or "E-mail autori", which open no
    // list) the highlighted item takes the keys, as a menu bar in keyboard
    // mode does: nothing reaches the answer box or the game meanwhile.
    QAction* active = bar->activeAction();
    if (active == nullptr || QApplication::activePopupWidget() != nullptr) {
        return false;
    }
    const qsizetype at = items.indexOf(active);
    const qsizetype count = items.size();
    switch (key->key()) {
        case Qt::Key_Left:
            bar->setActiveAction(items.at((at + count - 1) % count));
            break;
        case Qt::Key_Right:
            bar->setActiveAction(items.at((at + 1) % count));
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            bar->setActiveAction(nullptr);
            active->trigger();
            break;
        case Qt::Key_Escape:
        case Qt::Key_F10:
            bar->setActiveAction(nullptr);
            break;
        default:
            break;
    }
    return true;
}

bool Tavola::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sea_ && event->type() == QEvent::Resize) {
        fitBoardToSea();
        // The size changed: the game sets the title again.
        if (shown_) {
            events_.resize();
            render();
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress && !events_.over()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (menuKey(key)) {
            return true;
        }
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool plain =
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ==
            Qt::NoModifier;
        if (enter && plain) {
            // The game decides what Enter means: the focused exit button,
            // the default button, or the answer check.
            events_.pressEnter();
            render();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tavola::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && shown_) {
        const Qt::WindowStates state = windowState();
        controls_.windowState = state.testFlag(Qt::WindowMinimized)   ? WindowState::minimized
                                : state.testFlag(Qt::WindowMaximized) ? WindowState::maximized
                                                                      : WindowState::normal;
        events_.resize();
        render();
    }
}

void Tavola::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        events_.resize();
        render();
    }
}

void Tavola::closeEvent(QCloseEvent* event) {
    timer1_.stop();
    event->accept();
    emit closed();
}

}  // namespace quimbra::window
