// The main window's life: what it is made of, and what showing and closing it do.
#include "workspace/MainWindow.h"

#include "workspace/AboutDialog.h"
#include "workspace/AccuracyDialog.h"
#include "workspace/CoordinatesDialog.h"
#include "workspace/Documents.h"
#include "workspace/FindDialog.h"
#include "workspace/Page.h"
#include "workspace/PrintSizeDialog.h"
#include "workspace/RunController.h"
#include "workspace/ScriptPage.h"
#include "workspace/ToolIcons.h"
#include "workspace/WindowMemory.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QTabWidget>
#include <QTimer>

MainWindow::MainWindow(UserPrompts prompts, QWidget* parent)
    : QMainWindow(parent), prompts_(withDialogDefaults(std::move(prompts), this))
{
    setObjectName("mainWindow");
    setWindowTitle("Tavlix");
    setWindowIcon(programIcon());
    // Larger than the classic 544 x 343: today's fonts need the room.
    resize(760, 520);
    createActions();
    createMenus();
    createToolBar();
    createSectionPanel();
    createPages();
    createStatusBar();
    createDialogs();
    createParts();
    // No pages yet, so every page command is off.
    resetCommands();
}

MainWindow::~MainWindow()
{
    // A run under way writes into the pages: it ends before they go.
    runs_->shutdown();
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(pages_, nullptr, this, nullptr);
    editCommandPoll_->stop();
    undockSectionPanel();
    while (pages_->count() > 0) {
        QWidget* page = pages_->widget(0);
        pages_->removeTab(0);
        delete page;
    }
}

// The dialogs live as long as the window; each keeps what the user last entered in it.
void MainWindow::createDialogs()
{
    findDialog_ = new FindDialog(this);
    connect(findDialog_, &FindDialog::findNextRequested, this, &MainWindow::findNext);
    aboutDialog_ = new AboutDialog(this);
    coordinatesDialog_ = new CoordinatesDialog(this);
    printSizeDialog_ = new PrintSizeDialog(this);
    accuracyDialog_ = new AccuracyDialog(this);
    connect(accuracyDialog_, &AccuracyDialog::measureAgain, this, &MainWindow::onAccuracy);
    connect(accuracyDialog_, &AccuracyDialog::stopRequested, this, &MainWindow::requestStop);
}

// The parts that do the work behind the commands: what the window remembers, its runs and its documents.
void MainWindow::createParts()
{
    // The recent list leaves out the examples, which open only as copies; it asks once settings are attached, by
    // when the documents exist.
    const auto isExample = [this](const QString& file) { return !documents_->exampleCaption(file).isEmpty(); };
    memory_ = new WindowMemory(
        *this,
        {recentMenu_, action(Command::ClearRecent), action(Command::KeepResults), action(Command::AxesThroughOrigin)},
        isExample);
    runs_ = new RunController(*this, this);
    connect(runs_, &RunController::activeChanged, this, &MainWindow::showRunState);
    documents_ = new Documents(*this, prompts_, *memory_, *runs_, this);
    documents_->exampleDir = QCoreApplication::applicationDirPath() + "/";
    connect(memory_, &WindowMemory::openRequested, documents_, &Documents::openDocument);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (openStartFilesOnShow)
        QMetaObject::invokeMethod(
            this, [this] { documents_->openStartDocuments({}); }, Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (runs_->deferWindowClose()) {
        event->ignore();
        return;
    }
    if (!documents_->closeAllowed()) {
        event->ignore();
        return;
    }
    findDialog_->hide();
    editCommandPoll_->stop();
    memory_->saveWindow();
    event->accept();
}

void MainWindow::reportError(const QString& text)
{
    if (prompts_.showError)
        prompts_.showError(text);
}

void MainWindow::onSaveAs()
{
    if (ScriptPage* page = activeScriptPage())
        documents_->saveAs(page);
    else if (Page* result = activePage())
        saveResultPage(result);
}

void MainWindow::onQuit()
{
    close();
}

void MainWindow::closeActivePage()
{
    documents_->closePage();
}

bool MainWindow::askPrintSize(double& widthCm, double& heightCm)
{
    if (!printSizeDialog_->edit(widthCm, heightCm))
        return false;
    memory_->rememberPrintSize(widthCm, heightCm);
    return true;
}
