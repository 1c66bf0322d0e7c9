// The tabbed pages: which one is active, where the focus is, the section panel's place, and result pages.
#include "workspace/MainWindow.h"

#include "workspace/GraphPage.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"
#include "workspace/TablePage.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QMimeData>
#include <QTabWidget>
#include <QTimer>

void MainWindow::createPages()
{
    pages_ = new QTabWidget(this);
    pages_->setObjectName("pages");
    pages_->setAccessibleName("Blade");
    pages_->setTabPosition(QTabWidget::South);
    pages_->setDocumentMode(true);
    pages_->setUsesScrollButtons(true);
    setCentralWidget(pages_);
    connect(pages_, &QTabWidget::currentChanged, this, &MainWindow::onCurrentPageChanged);
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::onFocusChanged);

    // Asking the clipboard can wait on another program, so its answer is kept until it changes.
    auto readClipboard = [this] {
        const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
        clipboardHasText_ = clip && clip->hasText();
    };
    readClipboard();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, readClipboard);

    editCommandPoll_ = new QTimer(this);
    editCommandPoll_->setInterval(100);
    connect(editCommandPoll_, &QTimer::timeout, this, &MainWindow::pollEditCommands);
}

int MainWindow::pageCount() const
{
    return pages_->count();
}

Page* MainWindow::page(int index) const
{
    return qobject_cast<Page*>(pages_->widget(index));
}

Page* MainWindow::activePage() const
{
    return qobject_cast<Page*>(pages_->currentWidget());
}

ScriptPage* MainWindow::scriptPageOf(Page* page) const
{
    return page && page->kind() == PageKind::Script ? static_cast<ScriptPage*>(page) : nullptr;
}

ScriptPage* MainWindow::activeScriptPage() const
{
    return scriptPageOf(activePage());
}

void MainWindow::enterPage(Page* page)
{
    enteredPage_ = page;
    if (page)
        page->updateCommands();
}

void MainWindow::activatePage(Page* page)
{
    changingPage_ = true;
    pages_->setCurrentWidget(page);
    changingPage_ = false;
    page->setFocus();
    enterPage(page);
}

void MainWindow::onCurrentPageChanged(int)
{
    if (changingPage_)
        return;
    Page* page = activePage();
    if (!page)
        return;
    if (ScriptPage* script = scriptPageOf(page))
        script->editor()->setFocus();
    else
        page->setFocus();
    enterPage(page);
}

void MainWindow::onFocusChanged(QWidget*, QWidget* now)
{
    for (QWidget* w = now; w; w = w->parentWidget()) {
        auto* page = qobject_cast<Page*>(w);
        if (page && pages_->indexOf(page) >= 0) {
            if (page != enteredPage_)
                enterPage(page);
            return;
        }
    }
}

void MainWindow::pageCaptionChanged(QWidget* page, const QString& caption)
{
    const int i = pages_ ? pages_->indexOf(page) : -1;
    if (i >= 0)
        pages_->setTabText(i, QString(caption).replace('&', "&&"));
}

void MainWindow::dockSectionPanel(QWidget* page, QBoxLayout* layout)
{
    if (sectionPanel_->parentWidget() != page)
        layout->addWidget(sectionPanel_);
    sectionPanel_->show();
}

void MainWindow::undockSectionPanel()
{
    sectionPanel_->hide();
    if (sectionPanel_->parentWidget() != this)
        sectionPanel_->setParent(this);
}

void MainWindow::removePage(Page* page)
{
    if (sectionPanel_->parentWidget() == page)
        undockSectionPanel();
    int index = pages_->indexOf(page);
    changingPage_ = true;
    pages_->removeTab(index);
    changingPage_ = false;
    if (enteredPage_ == page)
        enteredPage_ = nullptr;
    delete page;
    if (pageCount() == 0) {
        resetCommands();
        return;
    }
    activatePage(this->page(index < pageCount() ? index : 0));
}

// False, and the run stopped, when the run has made as many pages as it may.
bool MainWindow::mayMakePage()
{
    if (stopRequested_)
        return false;
    if (++runPageCount_ <= runLimits_.maxPages)
        return true;
    stopRun(QString("Kørslen laver mere end %L1 resultatsider og er stoppet; de lavede sider er bevaret.")
                .arg(runLimits_.maxPages));
    return false;
}

tavlix::TableSink* MainWindow::createTablePage(const QString& caption)
{
    if (!mayMakePage())
        return nullptr;
    auto* page = new TablePage(*this, runLimits_.maxTableCells);
    pages_->addTab(page, QString());
    page->setCaption(caption);
    activatePage(page);
    return page;
}

tavlix::GraphSink* MainWindow::createGraphPage(const QString& caption)
{
    if (!mayMakePage())
        return nullptr;
    // Measured on the page that is active before the new one exists.
    QWidget* area = activePage() ? static_cast<QWidget*>(activePage()) : pages_;
    const int width = std::max(area->width() - 4, 100);
    const int height = std::max(area->height() - 4, 80);
    auto* page = new GraphPage(*this, width, height, runLimits_);
    pages_->addTab(page, QString());
    page->setCaption(caption);
    activatePage(page);
    return page;
}
