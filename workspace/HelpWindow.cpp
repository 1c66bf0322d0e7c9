// The program's help: chapters of Danish text from the program's resources, searchable, opened at a chapter or entry.
#include "workspace/HelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace {

struct ChapterInfo {
    HelpChapter chapter;
    const char* title;
    // A resource file a writer can edit without touching code; built in, so the help needs no network.
    const char* resource;
};

constexpr ChapterInfo Chapters[] = {
    {HelpChapter::Script, "Scriptsproget", ":/help/Scriptsproget.html"},
    {HelpChapter::GraphPage, "Grafblade", ":/help/Grafblade.html"},
    {HelpChapter::TablePage, "Tabelblade", ":/help/Tabelblade.html"},
    {HelpChapter::Settings, "Koordinater", ":/help/Koordinater.html"},
    {HelpChapter::Batch, "Kørsel uden vindue", ":/help/Batch.html"},
    {HelpChapter::Keys, "Taster", ":/help/Taster.html"},
};

int indexOf(HelpChapter chapter)
{
    return static_cast<int>(chapter);
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Hjælp");
    setObjectName("helpWindow");
    resize(860, 620);
    search_ = new QLineEdit(this);
    search_->setObjectName("helpSearch");
    search_->setPlaceholderText("Søg i hjælpen");
    search_->setAccessibleName("Søg i hjælpen");
    search_->setClearButtonEnabled(true);
    chapters_ = new QListWidget(this);
    chapters_->setObjectName("helpChapters");
    chapters_->setAccessibleName("Kapitler");
    browser_ = new QTextBrowser(this);
    browser_->setAccessibleName("Hjælpetekst");
    browser_->setOpenExternalLinks(false);
    for (const ChapterInfo& info : Chapters) {
        QFile file(info.resource);
        html_ << (file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString());
        QTextDocument text;
        text.setHtml(html_.last());
        plainText_ << text.toPlainText();
        chapters_->addItem(QString::fromUtf8(info.title));
    }
    auto* searchLabel = new QLabel("&Søg:", this);
    searchLabel->setBuddy(search_);
    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(4, 4, 0, 4);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(search_);
    sideLayout->addLayout(searchRow);
    sideLayout->addWidget(chapters_);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(side);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 640});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    connect(search_, &QLineEdit::textChanged, this, &HelpWindow::filter);
    connect(chapters_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != indexOf(current_))
            open(static_cast<HelpChapter>(row));
    });
    open(HelpChapter::Script);
}

void HelpWindow::open(HelpChapter chapter)
{
    current_ = chapter;
    browser_->setHtml(html_.value(indexOf(chapter)));
    browser_->verticalScrollBar()->setValue(0);
    chapters_->setCurrentRow(indexOf(chapter));
    markSearch();
}

void HelpWindow::markSearch()
{
    // What is searched for is marked where it first stands: the whole text, else its first word.
    const QString text = search_->text().simplified();
    if (text.isEmpty())
        return;
    browser_->moveCursor(QTextCursor::Start);
    if (!browser_->find(text))
        browser_->find(text.section(' ', 0, 0));
}

void HelpWindow::showWindow()
{
    if (!isVisible()) {
        show();
        raise();
        activateWindow();
    }
}

bool HelpWindow::showEntry(const QString& word)
{
    const QString anchor = word.trimmed().toLower();
    for (const ChapterInfo& info : Chapters) {
        if (anchor.isEmpty() || !html_.value(indexOf(info.chapter)).contains("name=\"" + anchor + "\""))
            continue;
        open(info.chapter);
        browser_->scrollToAnchor(anchor);
        showWindow();
        return true;
    }
    open(HelpChapter::Script);
    showWindow();
    return false;
}

void HelpWindow::showChapter(HelpChapter chapter)
{
    open(chapter);
    showWindow();
}

void HelpWindow::filter(const QString& text)
{
    const QStringList words = text.simplified().split(' ', Qt::SkipEmptyParts);
    int first = -1;
    for (int i = 0; i < chapters_->count(); ++i) {
        const QString title = chapters_->item(i)->text();
        const bool keep = std::all_of(words.begin(), words.end(), [&](const QString& w) {
            return plainText_[i].contains(w, Qt::CaseInsensitive) || title.contains(w, Qt::CaseInsensitive);
        });
        chapters_->item(i)->setHidden(!keep);
        if (keep && first < 0)
            first = i;
    }
    // The chapter on show stays when the search keeps it; otherwise the first one kept is shown.
    if (first >= 0 && chapters_->item(indexOf(current_))->isHidden())
        open(static_cast<HelpChapter>(first));
    else
        markSearch();
}

QStringList HelpWindow::visibleChapters() const
{
    QStringList titles;
    for (int i = 0; i < chapters_->count(); ++i)
        if (!chapters_->item(i)->isHidden())
            titles << chapters_->item(i)->text();
    return titles;
}
