// The script language's help: one page of Danish text from the program's resources, opened at an entry.
#include "workspace/HelpWindow.h"

#include <QFile>
#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Scriptsproget");
    setObjectName("helpWindow");
    resize(720, 620);
    browser_ = new QTextBrowser(this);
    browser_->setAccessibleName("Hjælp til scriptsproget");
    browser_->setOpenExternalLinks(false);
    QFile file(HelpResource);
    if (file.open(QIODevice::ReadOnly))
        html_ = QString::fromUtf8(file.readAll());
    browser_->setHtml(html_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
}

bool HelpWindow::showEntry(const QString& word)
{
    const QString anchor = word.trimmed().toLower();
    const bool found = !anchor.isEmpty() && html_.contains("name=\"" + anchor + "\"");
    if (found)
        browser_->scrollToAnchor(anchor);
    else
        browser_->verticalScrollBar()->setValue(0);
    if (!isVisible()) {
        show();
        raise();
        activateWindow();
    }
    return found;
}
