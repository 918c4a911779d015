#include "shell/services/catalogues.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

const QString ourName = u"varnek_tr"_s;

// Where Qt's own catalogues are: Debian's qt6-translations-l10n puts them where Qt looks; the
// Windows folder carries them beside the exe, as it carries the Qt DLLs.
QString qtCatalogueFolder()
{
#ifdef Q_OS_WIN
    return QCoreApplication::applicationDirPath() + u"/translations"_s;
#else
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
}

} // namespace

void loadCatalogues()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || app->findChild<QTranslator *>(ourName, Qt::FindDirectChildrenOnly))
        return;

    auto *qt = new QTranslator(app);
    if (qt->load(u"qtbase_tr.qm"_s, qtCatalogueFolder())) {
        QCoreApplication::installTranslator(qt);
    } else {
        // The program still works; Qt's own texts (context menus, buttons) stay English.
        qWarning("varnek: no qtbase_tr.qm in %s", qPrintable(qtCatalogueFolder()));
        delete qt;
    }

    // Installed last, so it is asked first.
    auto *ours = new QTranslator(app);
    ours->setObjectName(ourName);
    if (!ours->load(u":/varnek/translations/varnek_tr.qm"_s))
        qWarning("varnek: the program's own catalogue is missing from its resources");
    QCoreApplication::installTranslator(ours);
}

} // namespace varnek
