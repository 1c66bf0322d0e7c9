// The base of every workspace page: print, copy, and the commands it makes available.
#pragma once

#include "workspace/ResultOrigin.h"

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

    virtual void print(QPrinter& printer);
    virtual void copyToClipboard();
    // Sets the window's commands for this page whenever the input focus moves into it from outside;
    // the base turns them all off.
    virtual void updateCommands();

    // The text on the page's tab.
    QString caption() const { return caption_; }
    void setCaption(const QString& text);

    // A result page from differential equations knows its run and its integration; null on other pages.
    const ResultOrigin* integration() const { return integration_ ? &*integration_ : nullptr; }
    void setIntegration(ResultOrigin origin);

protected:
    PageHost& host() const { return host_; }
    // After the commands are reset: a page from differential equations shows its step statistics in the
    // status bar and turns the accuracy command on.
    void showIntegration();
    // Result pages offer the window's result-page menu.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    PageKind kind_;
    PageHost& host_;
    QString caption_;
    std::optional<ResultOrigin> integration_;
};
