// Start-up of the window: the application, the main window and the dialogs, then the event loop.
#include "app/EntryPoints.h"

#include "graph/TKoordinater.h"
#include "graph/TOKBottomDlg.h"
#include "workspace/TAboutBox.h"
#include "workspace/TForm1.h"

#include <QApplication>
#include <QStringList>

int runGui(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tavlix");
    auto* form = new TForm1;
    // The dialogs live until the program ends.
    Koordinater = new TKoordinater(form);
    OKBottomDlg = new TOKBottomDlg(form);
    AboutBox = new TAboutBox(form);
    QStringList files = QApplication::arguments().mid(1);
    form->SetStartFiles(files);
    form->show();
    int status = app.exec();
    delete form;
    Koordinater = nullptr;
    OKBottomDlg = nullptr;
    AboutBox = nullptr;
    return status;
}
