// The window's per-user memory: restored when the settings come, written as the user changes what it holds.
#include "workspace/WindowMemory.h"

#include "workspace/WindowSettings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QSignalBlocker>
#include <QStandardPaths>

WindowMemory::WindowMemory(QMainWindow& window, Controls controls, std::function<bool(const QString&)> isExample)
    : QObject(&window), window_(window), controls_(controls), isExample_(std::move(isExample))
{
    connect(controls_.recentMenu, &QMenu::aboutToShow, this, &WindowMemory::fillRecentMenu);
    connect(controls_.clearRecent, &QAction::triggered, this, &WindowMemory::clearRecent);
    connect(controls_.keepResults, &QAction::toggled, this, [this](bool on) {
        if (settings_)
            settings_->setKeepPreviousResults(on);
    });
    connect(controls_.axesThroughOrigin, &QAction::toggled, this, [this](bool on) {
        if (settings_)
            settings_->setAxesThroughOrigin(on);
    });
    fillRecentMenu();
}

WindowMemory::~WindowMemory() = default;

void WindowMemory::attachSettings(std::unique_ptr<WindowSettings> settings)
{
    settings_ = std::move(settings);
    if (!window_.restoreGeometry(settings_->geometry()))
        window_.resize(760, 520);
    window_.restoreState(settings_->windowState());
    lastFolder_ = settings_->lastFolder();
    fillRecentMenu();
    // Restoring a switch is no change of the user's, so nothing follows it.
    const QSignalBlocker quietKeep(controls_.keepResults);
    controls_.keepResults->setChecked(settings_->keepPreviousResults());
    const QSignalBlocker quietAxes(controls_.axesThroughOrigin);
    controls_.axesThroughOrigin->setChecked(settings_->axesThroughOrigin());
}

void WindowMemory::fillRecentMenu()
{
    QMenu* menu = controls_.recentMenu;
    menu->clear();
    const QStringList files = settings_ ? settings_->recentFiles() : QStringList();
    int number = 1;
    for (const QString& file : files) {
        if (isExample_(file))  // listed by an earlier version; it would only open a copy
            continue;
        // A document that is gone stays visible but cannot be chosen, so the list does not jump about.
        QAction* a = menu->addAction(QString("&%1 %2").arg(number++).arg(QDir::toNativeSeparators(file)));
        a->setEnabled(QFileInfo(file).isFile());
        connect(a, &QAction::triggered, this, [this, file] { emit openRequested(file); });
    }
    menu->addSeparator();
    menu->addAction(controls_.clearRecent);
    controls_.clearRecent->setEnabled(!files.isEmpty());
    menu->setEnabled(settings_ != nullptr);
}

void WindowMemory::clearRecent()
{
    if (settings_)
        settings_->clearRecentFiles();
    fillRecentMenu();
}

void WindowMemory::rememberDocument(const QString& fileName)
{
    if (!settings_ || isExample_(fileName))
        return;
    settings_->addRecentFile(fileName);
    fillRecentMenu();
}

// The file dialogs start where the user last opened or saved a file, or in the documents folder.
QString WindowMemory::dialogFolder() const
{
    if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir())
        return lastFolder_;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void WindowMemory::rememberFolder(const QString& fileName)
{
    lastFolder_ = QFileInfo(fileName).absolutePath();
    if (settings_)
        settings_->setLastFolder(lastFolder_);
}

bool WindowMemory::printSize(double& widthCm, double& heightCm) const
{
    return settings_ && settings_->printSize(widthCm, heightCm);
}

void WindowMemory::rememberPrintSize(double widthCm, double heightCm)
{
    if (settings_)
        settings_->setPrintSize(widthCm, heightCm);
}

void WindowMemory::saveWindow()
{
    if (settings_)
        settings_->setWindow(window_.saveGeometry(), window_.saveState());
}
