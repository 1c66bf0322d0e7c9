// The base of every workspace page: print, copy, and the commands it makes available.
#pragma once

#include <QStringList>
#include <QWidget>

class PageHost;
class QPrinter;

enum class PageKind { Script, Table, Graph };

class Page : public QWidget {
    Q_OBJECT
public:
    Page(PageKind kind, PageHost& host, QWidget* parent = nullptr);

    PageKind kind() const { return kind_; }

    virtual void print(QPrinter& printer);
    virtual void copyToClipboard();
    // The file types "Gem Som ..." writes for a result page, as file dialog filters ("CSV-filer (*.csv)");
    // empty for a page that is saved as a document.
    virtual QStringList saveFilters() const { return {}; }
    // Writes the page to the file in the type of saveFilters()[filter]; empty, or the message naming the file.
    virtual QString saveToFile(const QString& fileName, int filter);
    // Sets the window's commands for this page whenever the input focus moves into it from outside;
    // the base turns them all off.
    virtual void updateCommands();

    // The text on the page's tab.
    QString caption() const { return caption_; }
    void setCaption(const QString& text);

protected:
    PageHost& host() const { return host_; }

private:
    PageKind kind_;
    PageHost& host_;
    QString caption_;
};
