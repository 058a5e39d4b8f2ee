#include "board/qt_platform.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QSysInfo>
#include <QTime>
#include <QTimer>

#include <algorithm>
#include <ctime>
#include <functional>
#include <utility>
#include <vector>

#include "board/board_rows.h"
#include "board/letter_pad.h"

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
// size; the icon grows with the text. The box is never wider than 1000
// pixels: a longer line is wrapped there rather than cut.
void keepLinesAndIcon(QMessageBox& box, double factor) {
    constexpr int widestBox = 1000;
    constexpr int widestText = widestBox - 100;  // the margins and the icon
    if (auto* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        int widest = 0;
        for (const QString& line : box.text().split(u'\n')) {
            widest = std::max(widest, text->fontMetrics().horizontalAdvance(line));
        }
        text->setMinimumWidth(
            std::min({widest, static_cast<int>(std::lround(500 * factor)), widestText}));
    }
    auto* icon = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
    if (icon != nullptr && box.icon() == QMessageBox::Question) {
        const int side = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
        icon->setPixmap(box.style()
                            ->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, &box)
                            .pixmap(QSize(side, side) * factor, box.devicePixelRatioF()));
    }
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
    const double factor = prepare(dialog);
    auto* layout = qobject_cast<QBoxLayout*>(dialog.layout());
    auto* box = dialog.findChild<QLineEdit*>();
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    const QRect screen = dialogScreen(dialog);
    if ((whiteboard_ || factor > 1.0) && layout != nullptr && box != nullptr &&
        buttons != nullptr) {
        // A name typed without a keyboard: keys as wide as the buttons and
        // tall enough for a finger, the eight of a row within the screen's
        // width and the five rows low enough to leave the prompt in reach.
        const QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        const QSize button = ok->sizeHint().expandedTo(ok->minimumSize());
        const int width = std::min(button.width(), screen.width() * 9 / 10 / 8);
        const int height = std::min(std::max(button.height(), width * 3 / 5), screen.height() / 12);
        layout->insertWidget(layout->indexOf(buttons), letterPad(box, QSize(width, height)));
    }
    if (whiteboard_) {
        // Where a child reaches, as the number pad is: the prompt's foot at
        // the screen's, its box and keys below the top of the screen.
        dialog.adjustSize();
        const int titleBar = dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight);
        dialog.move(screen.left() + (screen.width() - dialog.width()) / 2,
                    screen.bottom() + 1 - dialog.height() - titleBar - 8);
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
    box.setText(keepPathsWhole(QString::fromStdString(prompt)));
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
    const double factor = prepare(box);
    if (factor > 1.0) {
        keepLinesAndIcon(box, factor);
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
#ifdef _WIN32
    // The name Windows shows and the network knows (VM, not the host name's vm).
    const QString windowsName = qEnvironmentVariable("COMPUTERNAME");
    if (!windowsName.isEmpty()) {
        return windowsName.toStdString();
    }
#endif
    return QSysInfo::machineHostName().toStdString();
}

void QtPlatform::beep() {
    QApplication::beep();
}

void QtPlatform::say(const std::string& text) {
    if (voice_ != nullptr) {
        voice_->say(text);
    }
}

void QtPlatform::stopSaying() {
    if (voice_ != nullptr) {
        voice_->stop();
    }
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

double QtPlatform::prepare(QDialog& dialog) {
    double factor = dialogScale_;
    if (whiteboard_) {
        // Read from across the classroom: as large as the board's question.
        const int board = makeFont(question.font, BoardScale(dialogScale_)).pixelSize();
        factor = std::max(factor, board / double(QFontInfo(dialog.font()).pixelSize()));
    }
    if (factor > 1.0) {
        scaleDialog(dialog, factor);
    }
    dialog.installEventFilter(new FirstPaint(&dialog, this, [this] { emit dialogShown(); }));
    return factor;
}

QRect QtPlatform::dialogScreen(const QDialog& dialog) const {
    const QScreen* screen = window_ ? window_->screen() : dialog.screen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

void QtPlatform::reloadWindow() {
    emit reloadRequested();
}

}  // namespace quimbra::window
