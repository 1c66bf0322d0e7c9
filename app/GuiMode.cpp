// Start-up of the window: the application, Qt's Danish texts, the main window (which owns its dialogs), the event loop.
#include "app/EntryPoints.h"

#include "workspace/MainWindow.h"
#include "workspace/QtTranslation.h"

#include <QApplication>
#include <QLocale>
#include <QStringList>

int runGui(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tavlix");
    // Our own texts are Danish always; Qt's dialogs follow when the user's language is Danish too.
    installQtTranslation(QLocale::system());
    MainWindow window;
    window.setStartFiles(QApplication::arguments().mid(1));
    window.show();
    return app.exec();
}
