// What the window remembers per user: its geometry and state, "Filer > Seneste", the file dialogs' folder, the
// drawing size and two switches, kept up to date while the user works.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QMainWindow;
class QMenu;
class WindowSettings;

class WindowMemory : public QObject {
    Q_OBJECT
public:
    // The window's controls the memory fills and follows.
    struct Controls {
        QMenu* recentMenu;
        QAction* clearRecent;
        QAction* keepResults;
        QAction* axesThroughOrigin;
    };
    // isExample: a file that opens only as a copy, which the recent list leaves out.
    WindowMemory(QMainWindow& window, Controls controls, std::function<bool(const QString&)> isExample);
    ~WindowMemory() override;

    // Restores the window's geometry and state, the switches and the recent list at once, and keeps them up to date
    // from then on. Without settings (tests) nothing is remembered.
    void attachSettings(std::unique_ptr<WindowSettings> settings);
    WindowSettings* settings() const { return settings_.get(); }
    QMenu* recentMenu() const { return controls_.recentMenu; }

    // A document opened or saved under its own name goes first in "Filer > Seneste".
    void rememberDocument(const QString& fileName);
    // The folder the open and save dialogs start in, and the one a chosen file makes the next.
    QString dialogFolder() const;
    void rememberFolder(const QString& fileName);
    // The last drawing size chosen, in centimetres; false when none is remembered.
    bool printSize(double& widthCm, double& heightCm) const;
    void rememberPrintSize(double widthCm, double heightCm);
    // The window's geometry and state, as it closes.
    void saveWindow();

signals:
    // A document of the recent list was chosen.
    void openRequested(const QString& fileName);

private:
    void fillRecentMenu();
    void clearRecent();

    QMainWindow& window_;
    Controls controls_;
    std::function<bool(const QString&)> isExample_;
    std::unique_ptr<WindowSettings> settings_;
    QString lastFolder_;  // of the file dialogs; empty until one chose a file
};
