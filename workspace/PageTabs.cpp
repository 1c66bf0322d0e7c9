// The tabbed pages: which one is active, where the focus is, the section panel's place, and result pages.
#include "workspace/MainWindow.h"

#include "workspace/NoticePanel.h"

#include "workspace/GraphPage.h"
#include "workspace/ParameterBar.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"
#include "workspace/TablePage.h"
#include "workspace/ToolIcons.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

void MainWindow::createPages()
{
    pages_ = new QTabWidget(this);
    pages_->setObjectName("pages");
    pages_->setAccessibleName("Blade");
    pages_->setTabPosition(QTabWidget::South);
    pages_->setDocumentMode(true);
    pages_->setUsesScrollButtons(true);
    parameterBar_ = new ParameterBar;
    connect(parameterBar_, &ParameterBar::pickChanged, this, &MainWindow::onPickChanged);
    connect(parameterBar_, &ParameterBar::familyChanged, this, &MainWindow::onFamilyChanged);
    auto* centre = new QWidget(this);
    auto* column = new QVBoxLayout(centre);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(parameterBar_);
    column->addWidget(pages_);
    notices_ = new NoticePanel(centre);
    column->addWidget(notices_);
    setCentralWidget(centre);
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

ScriptPage* MainWindow::activeScriptPage() const
{
    return ScriptPage::of(activePage());
}

void MainWindow::addDocumentPage(ScriptPage* page)
{
    connect(page, &ScriptPage::modifiedChanged, this, [this, page] { documentLookChanged(page); });
    connect(page, &ScriptPage::parametersChanged, this, [this, page] {
        if (documentOf(activePage()) == page)
            updateParameterBar();
    });
    pages_->addTab(page, QString());
}

void MainWindow::enterPage(Page* page)
{
    enteredPage_ = page;
    if (page)
        page->updateCommands();
    updateWindowTitle();
    updateParameterBar();
}

ScriptPage* MainWindow::documentOf(Page* page) const
{
    return page ? ScriptPage::of(page->document()) : nullptr;
}

void MainWindow::updateWindowTitle()
{
    ScriptPage* document = documentOf(activePage());
    // "[*]" is where the modified mark goes.
    setWindowTitle(document ? QString("%1[*] – Tavlix").arg(document->caption()) : QString("Tavlix"));
    setWindowModified(document && document->isModified());
}

// The tab shows the caption, "*" for a modified document, the kind of a result page and its document, and
// greyed text for a page an earlier run left.
void MainWindow::updateTabLook(Page* page)
{
    const int i = pages_ ? pages_->indexOf(page) : -1;
    if (i < 0)
        return;
    QString text = page->caption();
    if (ScriptPage* script = ScriptPage::of(page); script && script->isModified())
        text += '*';
    pages_->setTabText(i, text.replace('&', "&&"));
    if (page->kind() == PageKind::Script)
        return;
    pages_->setTabIcon(i, toolIcon(page->kind() == PageKind::Graph ? Icon::GraphPage : Icon::TablePage));
    const Page* document = page->document();
    QString tip = document ? QString("Resultat af %1").arg(document->caption()) : QString("Resultat");
    if (page->isOutOfDate())
        tip += " – forældet: den seneste kørsel mislykkedes";
    pages_->setTabToolTip(i, tip);
    pages_->tabBar()->setTabTextColor(
        i, page->isOutOfDate() ? palette().color(QPalette::Disabled, QPalette::WindowText) : QColor());
}

void MainWindow::documentLookChanged(ScriptPage* script)
{
    updateTabLook(script);
    for (int i = 0; i < pageCount(); ++i)
        if (page(i) != script && page(i)->document() == script)
            updateTabLook(page(i));
    if (documentOf(activePage()) == script) {
        updateWindowTitle();
        setCommandEnabled(Command::Save, script->isModified());
    }
}

void MainWindow::switchPage(int step)
{
    const int n = pageCount();
    if (n > 1)
        activatePage(page((pages_->currentIndex() + step + n) % n));
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
    if (ScriptPage* script = ScriptPage::of(page))
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

void MainWindow::pageCaptionChanged(QWidget* page, const QString&)
{
    if (ScriptPage* script = ScriptPage::of(qobject_cast<Page*>(page)))
        documentLookChanged(script);
    else if (auto* result = qobject_cast<Page*>(page))
        updateTabLook(result);
}

// Graph pages draw their axes through (0; 0) or at the edges at once.
void MainWindow::onAxesThroughOriginToggled(bool on)
{
    for (int i = 0; i < pages_->count(); ++i)
        if (auto* graph = qobject_cast<GraphPage*>(pages_->widget(i)))
            graph->setAxesThroughOrigin(on);
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

void MainWindow::discardPage(Page* page)
{
    if (sectionPanel_->parentWidget() == page)
        undockSectionPanel();
    changingPage_ = true;
    pages_->removeTab(pages_->indexOf(page));
    changingPage_ = false;
    if (enteredPage_ == page)
        enteredPage_ = nullptr;
    delete page;
}

void MainWindow::removePage(Page* page)
{
    // A document's result pages go with it: "Kør" makes them again.
    if (page->kind() == PageKind::Script)
        for (int i = pageCount() - 1; i >= 0; --i)
            if (this->page(i) != page && this->page(i)->document() == page)
                discardPage(this->page(i));
    const int index = pages_->indexOf(page);
    discardPage(page);
    if (pageCount() == 0) {
        resetCommands();
        return;
    }
    activatePage(this->page(index < pageCount() ? index : 0));
}
