// The program's help: chapters of Danish text from the program's resources, searchable, opened at a chapter or entry.
#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QTextBrowser;

enum class HelpChapter { Script, GraphPage, TablePage, Settings, Batch, Keys };

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the help at the entry of the word (any case), in whichever chapter has it; at the top of the script
    // language's chapter when none does. Returns whether the entry was found.
    bool showEntry(const QString& word);
    // Shows the chapter from its top.
    void showChapter(HelpChapter chapter);
    HelpChapter chapter() const { return current_; }
    // Keeps only the chapters whose text holds the words (any case); all of them for an empty text.
    void filter(const QString& text);
    // The titles of the chapters the search keeps, in order.
    QStringList visibleChapters() const;
    QTextBrowser* browser() const { return browser_; }
    QLineEdit* searchField() const { return search_; }

private:
    void open(HelpChapter chapter);
    void showWindow();
    void markSearch();

    QLineEdit* search_ = nullptr;
    QListWidget* chapters_ = nullptr;
    QTextBrowser* browser_ = nullptr;
    QStringList html_;       // each chapter's text, in chapter order
    QStringList plainText_;  // the same without markup, for the search
    HelpChapter current_ = HelpChapter::Script;
};
