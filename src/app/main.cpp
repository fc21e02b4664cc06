#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/DesignFonts.h"
#include "app/Module1.h"
#include "platform/Forms.h"
#include "imaging/widgets/RealOpenFileDialog.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvell Image Viewer"));
    // Message box buttons in Japanese, whatever the desktop's language.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);
    designfonts::install();
    imaging::installRealOpenFileDialog();
    // Besides the end button, closing the last open window ends the program.
    QApplication::setQuitOnLastWindowClosed(true);
    Module1::Main();
    const int status = QApplication::exec();
    forms::unloadAll();
    forms::destroyUnloaded();
    return status;
}
