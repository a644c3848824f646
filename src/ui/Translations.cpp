#include "ui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace varnel::ui {

bool installPolishTranslations() {
    auto *app = QCoreApplication::instance();
    if (!app)
        return false;
    // Kept by the application for the rest of the run.
    auto *qt = new QTranslator(app);
    if (!qt->load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    return QCoreApplication::installTranslator(qt);
}

}  // namespace varnel::ui
