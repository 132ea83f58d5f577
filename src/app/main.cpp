#include "base/fonts.h"
#include "app/program_gui.h"

#include "data/data_files.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillora"));
    QApplication::setOrganizationName(QStringLiteral("Quillora"));
    QApplication::setDesktopFileName(QStringLiteral("quillora"));
    quillora::ensureResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillora.png")));
    QApplication::setQuitOnLastWindowClosed(false);
    quillora::installFontSubstitutions();
    // Qt's own dialogs (file chooser, print preview) speak the doctor's language too.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    quillora::Program program(QApplication::applicationDirPath(), QApplication::applicationFilePath());
    QObject::connect(&program, &quillora::Program::finished, &app, &QApplication::exit, Qt::QueuedConnection);
    if (!program.start())
        return 1;
    return app.exec();
}
