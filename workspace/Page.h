// The base of every workspace page: print, copy, and the commands it makes available.
#pragma once

#include <QPointer>
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

    // The script page whose run made this page; a script page is its own document. Null once it is closed.
    Page* document() const { return kind_ == PageKind::Script ? const_cast<Page*>(this) : document_.data(); }
    void setDocument(Page* script) { document_ = script; }
    // Whether a result page still shows an earlier run after a later run of its document failed.
    bool isOutOfDate() const { return outOfDate_; }
    void setOutOfDate(bool on) { outOfDate_ = on; }

protected:
    PageHost& host() const { return host_; }

private:
    PageKind kind_;
    PageHost& host_;
    QString caption_;
    QPointer<Page> document_;
    bool outOfDate_ = false;
};
