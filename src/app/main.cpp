#include "app/fonts.h"
#include "app/program_gui.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillora"));
    QApplication::setOrganizationName(QStringLiteral("Quillora"));
    QApplication::setQuitOnLastWindowClosed(false);
    quillora::installFontSubstitutions();

    quillora::Program program(QApplication::applicationDirPath(), QApplication::applicationFilePath());
    QObject::connect(&program, &quillora::Program::finished, &app, &QApplication::exit, Qt::QueuedConnection);
    if (!program.start())
        return 1;
    return app.exec();
}
