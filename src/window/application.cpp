#include "window/application.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quimbra::window {

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
