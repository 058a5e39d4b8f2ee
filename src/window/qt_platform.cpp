#include "window/qt_platform.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyle>
#include <QSysInfo>
#include <QTime>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <ctime>
#include <functional>
#include <utility>
#include <vector>

namespace quimbra::window {

namespace {

// Draws a dialog's texts and buttons factor times as large; its title bar
// stays the system's. Every font is set from its own, so none grows twice
// through its parent.
void scaleDialog(QDialog& dialog, double factor) {
    QList<QWidget*> widgets = dialog.findChildren<QWidget*>();
    widgets.prepend(&dialog);
    std::vector<std::pair<QWidget*, QFont>> fonts;
    for (QWidget* widget : widgets) {
        QFont font = widget->font();
        if (font.pixelSize() > 0) {
            font.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * factor)));
        } else {
            font.setPointSizeF(font.pointSizeF() * factor);
        }
        fonts.emplace_back(widget, font);
    }
    // A button's least size is the style's, not its text's: grown as well.
    std::vector<std::pair<QAbstractButton*, QSize>> buttons;
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        buttons.emplace_back(button, button->sizeHint() * factor);
    }
    for (const auto& [widget, font] : fonts) {
        widget->setFont(font);
    }
    for (const auto& [button, size] : buttons) {
        button->setMinimumSize(size);
        button->setIconSize(button->iconSize() * factor);
    }
}

// What a message box draws for itself, at a larger factor: the box wraps a
// text wider than 500 pixels, so a text keeps the lines it has at the design
// size; the icon grows with the text.
void keepLinesAndIcon(QMessageBox& box, double factor) {
    if (auto* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        int widest = 0;
        for (const QString& line : box.text().split(u'\n')) {
            widest = std::max(widest, text->fontMetrics().horizontalAdvance(line));
        }
        text->setMinimumWidth(std::min(widest, static_cast<int>(std::lround(500 * factor))));
    }
    auto* icon = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
    if (icon != nullptr && box.icon() == QMessageBox::Question) {
        const int side = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
        icon->setPixmap(box.style()
                            ->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, &box)
                            .pixmap(QSize(side, side) * factor, box.devicePixelRatioF()));
    }
}

// The letters of a child's name on keys as large as the dialog's buttons, in
// the alphabet's order, eight to a row: a tap types into box as the keyboard
// does, the first letter of a name a capital, the rest small.
QWidget* letterPad(QLineEdit* box, QSize key) {
    auto* pad = new QWidget;
    pad->setObjectName(QStringLiteral("letterPad"));
    auto* grid = new QGridLayout(pad);
    grid->setContentsMargins(0, 0, 0, 0);
    const auto add = [&](const QString& text, int row, int column, int span,
                         std::function<void()> typed) {
        auto* button = new QPushButton(text, pad);
        button->setAccessibleName(text);
        // The box keeps the focus, and Enter the dialog's OK.
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        button->setMinimumSize(key.width() * span, key.height());
        QObject::connect(button, &QPushButton::clicked, box, std::move(typed));
        grid->addWidget(button, row, column, 1, span);
    };
    const QString letters =
        QString::fromUtf8("ABCDEFGHIJKLMNOPQRSTUVWXYZ\u00e0\u00e8\u00e9\u00ec\u00f2\u00f9");
    for (int i = 0; i < letters.size(); ++i) {
        const QChar letter = letters.at(i);
        add(QString(letter), i / 8, i % 8, 1, [box, letter] {
            box->insert(box->text().isEmpty() ? letter.toUpper() : letter.toLower());
        });
    }
    add(QStringLiteral("Spazio"), 4, 0, 5, [box] { box->insert(QStringLiteral(" ")); });
    add(QStringLiteral("Cancella"), 4, 5, 3, [box] { box->backspace(); });
    return pad;
}

// Calls back once the watched dialog's first paint is on screen.
class FirstPaint final : public QObject {
  public:
    FirstPaint(QObject* watched, QObject* context, std::function<void()> then)
        : QObject(watched), context_(context), then_(std::move(then)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued: the painted pixels are flushed to the screen first.
            QTimer::singleShot(0, context_, then_);
        }
        return false;
    }

  private:
    QObject* context_;
    std::function<void()> then_;
};

}  // namespace

double fillingFactor(QSize screen) {
    const QSize design = BoardScale().clientSize();
    return std::max(1.0, std::min(screen.width() / double(design.width()),
                                  screen.height() / double(design.height())));
}

void QtPlatform::hideBusy() {
    if (busy_) {
        busy_.reset();
        QApplication::restoreOverrideCursor();
    }
}

void QtPlatform::setWindow(Tavola* window) {
    if (window_ && window_->isVisible()) {
        dialogScale_ = window_->scale().factor();
    }
    window_ = window;
}

QWidget* QtPlatform::dialogParent() {
    hideBusy();
    if (window_ && window_->isVisible()) {
        dialogScale_ = window_->scale().factor();
        window_->render();
        return window_;
    }
    return nullptr;
}

std::string QtPlatform::inputBox(const std::string& prompt) {
    QInputDialog dialog(dialogParent());
    dialog.setWindowTitle(applicationTitle);
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setTextValue(QString());
    dialog.setInputMode(QInputDialog::TextInput);
    // Builds the dialog's label, box and buttons, to be scaled.
    dialog.minimumSizeHint();
    prepare(dialog);
    auto* layout = qobject_cast<QBoxLayout*>(dialog.layout());
    auto* box = dialog.findChild<QLineEdit*>();
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    if (dialogScale_ > 1.0 && layout != nullptr && box != nullptr && buttons != nullptr) {
        // On a whiteboard a name is typed without a keyboard: keys as wide
        // as the buttons, and tall enough for a finger.
        const QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        const QSize button = ok->sizeHint().expandedTo(ok->minimumSize());
        layout->insertWidget(
            layout->indexOf(buttons),
            letterPad(box,
                      QSize(button.width(), std::max(button.height(), button.width() * 3 / 5))));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.textValue().toStdString();
}

Answer QtPlatform::messageBox(const std::string& prompt, BoxStyle style, const std::string& title) {
    QMessageBox box(dialogParent());
    box.setWindowTitle(title.empty() ? QString(applicationTitle) : QString::fromStdString(title));
    // Plain text keeps the prompts' double blanks.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(prompt));
    box.setIcon(style.icon == BoxStyle::Icon::question ? QMessageBox::Question
                                                       : QMessageBox::NoIcon);
    const bool yesNo = style.buttons == BoxStyle::Buttons::yesNo;
    const QMessageBox::StandardButton first = yesNo ? QMessageBox::Yes : QMessageBox::Ok;
    const QMessageBox::StandardButton last = yesNo ? QMessageBox::No : QMessageBox::Ok;
    box.setStandardButtons(first | last);
    const QMessageBox::StandardButton preferred =
        style.defaultButton == BoxStyle::Default::second ? last : first;
    box.setDefaultButton(preferred);
    // Escape, or the frame's close, is the last button: No, the safe answer.
    box.setEscapeButton(last);
    box.button(preferred)->setFocus();
    prepare(box);
    if (dialogScale_ > 1.0) {
        keepLinesAndIcon(box, dialogScale_);
    }
    box.exec();
    if (!yesNo) {
        return Answer::ok;
    }
    return box.clickedButton() == box.button(QMessageBox::Yes) ? Answer::yes : Answer::no;
}

std::string systemShortDate(QDate day) {
#ifdef _WIN32
    // Qt asks Windows for the user's short date format here.
    return QLocale::system().toString(day, QLocale::ShortFormat).toStdString();
#else
    // The system's own short date, not Qt's idea of it: under Italian it is
    // 08/12/2026 where Qt writes 08/12/26. QApplication has set the C
    // library's locale from the environment.
    std::tm tm{};
    tm.tm_year = day.year() - 1900;
    tm.tm_mon = day.month() - 1;
    tm.tm_mday = day.day();
    tm.tm_wday = day.dayOfWeek() % 7;
    char text[128] = {};
    return std::string(text, std::strftime(text, sizeof text, "%x", &tm));
#endif
}

std::string QtPlatform::currentDate() {
    return systemShortDate(QDate::currentDate());
}

double QtPlatform::timeOfDay() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

LocalDateTime QtPlatform::localDateTime() {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.toString(QStringLiteral("yyyy-MM-dd")).toStdString(),
            now.toString(QStringLiteral("HH:mm")).toStdString()};
}

std::string QtPlatform::computerName() {
    return QSysInfo::machineHostName().toStdString();
}

void QtPlatform::beep() {
    QApplication::beep();
}

void QtPlatform::endProgram() {
    hideBusy();
    emit endRequested();
}

void QtPlatform::showBusy(const std::string& text) {
    // A progress box without a button, drawn at once: the wait that follows
    // keeps the window's thread, so nothing could draw it later.
    QWidget* parent = dialogParent();
    auto box =
        std::make_unique<QProgressDialog>(QString::fromStdString(text), QString(), 0, 0, parent);
    box->setWindowTitle(applicationTitle);
    box->setWindowModality(Qt::WindowModal);
    box->setMinimumDuration(0);
    prepare(*box);
    box->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busy_ = std::move(box);
}

void QtPlatform::prepare(QDialog& dialog) {
    if (dialogScale_ > 1.0) {
        scaleDialog(dialog, dialogScale_);
    }
    dialog.installEventFilter(new FirstPaint(&dialog, this, [this] { emit dialogShown(); }));
}

void QtPlatform::reloadWindow() {
    emit reloadRequested();
}

bool installQtTranslations() {
    // The Windows program carries its translations inside; elsewhere they are
    // the system's.
    const QString embedded = QStringLiteral(":/translations");
    const QString dir =
        QFileInfo::exists(embedded) ? embedded : QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(qApp);
    if (translator->load(QLocale::system(), "qtbase", "_", dir) ||
        translator->load("qtbase_it", dir)) {
        QCoreApplication::installTranslator(translator);
        return true;
    }
    delete translator;
    return false;
}

}  // namespace quimbra::window
