// The window's per-user memory, checked on reading: a damaged file or value gives the default, never a fault.
#include "workspace/WindowSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <cmath>

namespace {

const QString GeometryKey = "window/geometry";
const QString StateKey = "window/state";
const QString PrintWidthKey = "graph/printWidthCm";
const QString PrintHeightKey = "graph/printHeightCm";
const QString RecentKey = "recentFiles";
const QString KeepResultsKey = "results/keepPrevious";
const QString LastFolderKey = "files/lastFolder";
const QString AxesThroughOriginKey = "graph/axesThroughOrigin";

// A drawing larger than this is no size anyone chose.
constexpr double LargestPrintCm = 1000;

}  // namespace

WindowSettings::WindowSettings(const QString& fileName)
    : settings_(std::make_unique<QSettings>(fileName, QSettings::IniFormat))
{
    readable_ = settings_->status() == QSettings::NoError;
}

WindowSettings::~WindowSettings() = default;

QString WindowSettings::userFileName()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/tavlix/tavlix.conf";
}

QByteArray WindowSettings::geometry() const
{
    return readable_ ? settings_->value(GeometryKey).toByteArray() : QByteArray();
}

QByteArray WindowSettings::windowState() const
{
    return readable_ ? settings_->value(StateKey).toByteArray() : QByteArray();
}

void WindowSettings::setWindow(const QByteArray& geometry, const QByteArray& state)
{
    settings_->setValue(GeometryKey, geometry);
    settings_->setValue(StateKey, state);
    settings_->sync();
}

bool WindowSettings::printSize(double& widthCm, double& heightCm) const
{
    if (!readable_)
        return false;
    bool okW = false, okH = false;
    const double w = settings_->value(PrintWidthKey).toDouble(&okW);
    const double h = settings_->value(PrintHeightKey).toDouble(&okH);
    auto fits = [](double v) { return std::isfinite(v) && v > 0 && v <= LargestPrintCm; };
    if (!okW || !okH || !fits(w) || !fits(h))
        return false;
    widthCm = w;
    heightCm = h;
    return true;
}

void WindowSettings::setPrintSize(double widthCm, double heightCm)
{
    settings_->setValue(PrintWidthKey, widthCm);
    settings_->setValue(PrintHeightKey, heightCm);
    settings_->sync();
}

bool WindowSettings::keepPreviousResults() const
{
    return readable_ && settings_->value(KeepResultsKey, false).toBool();
}

void WindowSettings::setKeepPreviousResults(bool on)
{
    settings_->setValue(KeepResultsKey, on);
    settings_->sync();
}

bool WindowSettings::axesThroughOrigin() const
{
    return readable_ && settings_->value(AxesThroughOriginKey, false).toBool();
}

void WindowSettings::setAxesThroughOrigin(bool on)
{
    settings_->setValue(AxesThroughOriginKey, on);
    settings_->sync();
}

QStringList WindowSettings::recentFiles() const
{
    if (!readable_)
        return {};
    QStringList files;
    for (const QString& f : settings_->value(RecentKey).toStringList())
        if (!f.isEmpty() && QDir::isAbsolutePath(f) && !files.contains(f) && files.size() < MaxRecentFiles)
            files << f;
    return files;
}

void WindowSettings::addRecentFile(const QString& fileName)
{
    const QString path = QFileInfo(fileName).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > MaxRecentFiles)
        files.removeLast();
    settings_->setValue(RecentKey, files);
    settings_->sync();
}

void WindowSettings::clearRecentFiles()
{
    settings_->remove(RecentKey);
    settings_->sync();
}

QString WindowSettings::lastFolder() const
{
    const QString folder = readable_ ? settings_->value(LastFolderKey).toString() : QString();
    return QDir::isAbsolutePath(folder) ? folder : QString();
}

void WindowSettings::setLastFolder(const QString& folder)
{
    settings_->setValue(LastFolderKey, folder);
    settings_->sync();
}
