// The base of every workspace page: print, copy, and the commands it makes available.
#pragma once

#include "workspace/ResultOrigin.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <optional>

class PageHost;
class QPrinter;

enum class PageKind { Script, Table, Graph };

class Page : public QWidget {
    Q_OBJECT
public:
    Page(PageKind kind, PageHost& host, QWidget* parent = nullptr);

    PageKind kind() const { return kind_; }

    // Sets what suits the page on the printer before the print dialog shows it.
    virtual void preparePrinter(QPrinter& /*printer*/) {}
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
    // A result page from differential equations knows its run and its integration; null on other pages.
    const ResultOrigin* integration() const { return integration_ ? &*integration_ : nullptr; }
    void setIntegration(ResultOrigin origin);
    void clearIntegration() { integration_.reset(); }

protected:
    PageHost& host() const { return host_; }
    // After the commands are reset: a page from differential equations shows its step statistics in the
    // status bar and turns the accuracy command on.
    void showIntegration();

private:
    PageKind kind_;
    PageHost& host_;
    QString caption_;
    QPointer<Page> document_;
    bool outOfDate_ = false;
    std::optional<ResultOrigin> integration_;
};
