#include "shell/registry.h"
#include "shell/services/catalogues.h"
#include "shell/services/services.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Names the folder that holds the rate files on systems without drive letters.
    QApplication::setApplicationName(u"varnek"_s);
    // The hidden splash window keeps the program alive; it ends only when asked to.
    QApplication::setQuitOnLastWindowClosed(false);
    varnek::loadCatalogues();

    varnek::QtServices services;
    varnek::Registry registry(services);
    registry.show(varnek::WindowName::splash);
    return QApplication::exec();
}
