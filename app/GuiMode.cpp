// Start-up of the window: a display check, the application, Qt's Danish texts and the main window, which owns its
// dialogs, a watch for the end of the session, then the event loop.
#include "app/CommandLine.h"
#include "app/EntryPoints.h"
#include "app/TerminationWatch.h"

#include "workspace/Documents.h"
#include "workspace/MainWindow.h"
#include "workspace/QtTranslation.h"
#include "workspace/RecoveryStore.h"
#include "workspace/WindowMemory.h"
#include "workspace/WindowSettings.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <vector>

#ifndef TAVLIX_INSTALLED_EXAMPLES
#define TAVLIX_INSTALLED_EXAMPLES "../share/tavlix/examples"
#endif

namespace {

constexpr int ExitNoDisplay = 2;

// Without any display the toolkit would abort with a plugin error; say what to do instead.
bool displayAvailable(const CommandLine& line)
{
    return !line.platform.isEmpty() || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The installed examples (share/tavlix/examples), or those beside the program in the build tree.
QString exampleFolder()
{
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString installed = QDir::cleanPath(bin.absoluteFilePath(TAVLIX_INSTALLED_EXAMPLES));
    if (QFileInfo::exists(installed + "/2sin.tvx"))
        return installed + "/";
    return bin.path() + "/";
}

}  // namespace

int runGui(const QString& program, const CommandLine& line)
{
    if (!displayAvailable(line)) {
        std::fputs(
            "tavlix: the window needs a display (DISPLAY or WAYLAND_DISPLAY is not set); "
            "tavlix --batch FILE... runs documents without one\n",
            stderr);
        return ExitNoDisplay;
    }
    // The toolkit sees only the program and the platform: no document name can be read as one of its options.
    std::vector<QByteArray> args{program.toLocal8Bit()};
    if (!line.platform.isEmpty())
        args.insert(args.end(), {QByteArray("-platform"), line.platform.toLocal8Bit()});
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(args.size());
    QApplication app(argc, argv.data());
    QApplication::setApplicationName("Tavlix");
    // Our own texts are Danish always; Qt's dialogs follow when the user's language is Danish too.
    installQtTranslation(QLocale::system());
    QApplication::setOrganizationName("tavlix");
    QApplication::setApplicationVersion(versionText().section(' ', 1));
    QGuiApplication::setDesktopFileName("org.tavlix.Tavlix");
    MainWindow window;
    window.documents().exampleDir = exampleFolder();
    window.memory().attachSettings(std::make_unique<WindowSettings>(WindowSettings::userFileName()));
    window.documents().attachRecovery(std::make_unique<RecoveryStore>(RecoveryStore::userFolder()));
    // At logout the work typed since the last recovery write is written at once; the next start offers it.
    const TerminationWatch logout([&window] { window.documents().writeRecoveryFiles(); });
    // Unsaved work of an instance that died is offered before the command line's documents open.
    window.openStartFilesOnShow = false;
    window.show();
    QTimer::singleShot(0, &window, [&window, files = line.files] {
        if (!window.documents().offerRecovery() || !files.isEmpty())
            window.documents().openStartDocuments(files);
    });
    return app.exec();
}
