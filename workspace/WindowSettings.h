// What the window remembers per user between runs: geometry and state, drawing size, result pages, recent documents
// and the folder of the file dialogs.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

class WindowSettings {
public:
    // How many documents "Filer > Seneste" lists.
    static constexpr int MaxRecentFiles = 8;

    // An INI file; one that cannot be read counts as empty, so every value falls back to its default.
    explicit WindowSettings(const QString& fileName);
    ~WindowSettings();
    // The user's file: $XDG_CONFIG_HOME/tavlix/tavlix.conf.
    static QString userFileName();

    QByteArray geometry() const;
    QByteArray windowState() const;
    void setWindow(const QByteArray& geometry, const QByteArray& state);

    // The last drawing size chosen, in centimetres; false when none was chosen or it is no size.
    bool printSize(double& widthCm, double& heightCm) const;
    void setPrintSize(double widthCm, double heightCm);

    // Whether a run adds its pages beside the previous run's ("Behold tidligere resultater"); off by default.
    bool keepPreviousResults() const;
    void setKeepPreviousResults(bool on);
    // "Akser gennem (0; 0)" on graph pages; off unless chosen.
    bool axesThroughOrigin() const;
    void setAxesThroughOrigin(bool on);

    // Newest first, at most MaxRecentFiles, each an absolute path once.
    QStringList recentFiles() const;
    void addRecentFile(const QString& fileName);
    void clearRecentFiles();

    // The folder a document or result was last opened from or saved into; empty when none (or not absolute).
    QString lastFolder() const;
    void setLastFolder(const QString& folder);

private:
    std::unique_ptr<QSettings> settings_;
    bool readable_ = true;
};
