// The main window: menus, tool bar, section panel, status bar and the tabbed pages.
#pragma once

#include <QMainWindow>

class QLineEdit;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    // Resets every page command (see the availability table) and empties the status bar.
    void UpdateMenus();
    // Enables or disables a menu item or tool button by its component name ("SbPrint", "Tekst1").
    void Enable(const char* name, bool on);
    // Writes one of the three status panels (0 "x: …", 1 "y: …", 2 compiler messages).
    void SetStatusText(int panel, const QString& text);
    QString StatusText(int panel) const;

    QLineEdit* Edit1 = nullptr;
    int GraphWidth = 0;
    int GraphHeight = 0;
};

extern TForm1* Form1;
