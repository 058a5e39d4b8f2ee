#include "window/qt_platform.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSysInfo>
#include <QTime>
#include <QTimer>
#include <QTranslator>

#include <ctime>

namespace quimbra::window {

void QtPlatform::hideBusy() {
    if (busy_) {
        busy_.reset();
        QApplication::restoreOverrideCursor();
    }
}

QWidget* QtPlatform::dialogParent() {
    hideBusy();
    if (window_ && window_->isVisible()) {
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
    box->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busy_ = std::move(box);
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
