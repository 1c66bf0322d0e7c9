// The script language's help: one page of Danish text from the program's resources, opened at an entry.
#pragma once

#include <QDialog>

class QTextBrowser;

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    // The help text: a resource file a writer can edit without touching code.
    static constexpr const char* HelpResource = ":/help/Scriptsproget.html";

    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the help at the entry of the word (any case); at the top when the help has no such entry.
    // Returns whether the entry was found.
    bool showEntry(const QString& word);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
    QString html_;
};
