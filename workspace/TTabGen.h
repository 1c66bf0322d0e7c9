// The base of every workspace page: print, copy, and the commands it makes available.
#pragma once

#include <QWidget>

class QPrinter;

class TTabGen : public QWidget {
    Q_OBJECT
public:
    explicit TTabGen(QWidget* parent = nullptr);

    // The page kind: 1 script page, 2 table page, 3 graph page.
    int Tag = 0;

    // The main window calls SetEnable whenever the input focus moves into the page from outside it.
    virtual void Print(QPrinter& printer);
    virtual void Kopier();
    // Sets the main window's commands for this page; the base resets them all (UpdateMenus).
    virtual void SetEnable();

    // The text on the page's tab.
    QString Caption() const { return CaptionText; }
    void SetCaption(const QString& text);

private:
    QString CaptionText;
};
