// Start-up of the window: the application and the main window, which owns its dialogs, then the event loop.
#include "app/EntryPoints.h"

#include "workspace/MainWindow.h"

#include <QApplication>
#include <QStringList>

int runGui(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tavlix");
    MainWindow window;
    window.setStartFiles(QApplication::arguments().mid(1));
    window.show();
    return app.exec();
}
