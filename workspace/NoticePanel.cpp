// The notices of the last run, listed under the pages: the run never waits for them, the user reads them after.
#include "workspace/NoticePanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Tall enough for the five notices a run shows and the line that counts the rest.
constexpr int VisibleLines = 6;

}  // namespace

NoticePanel::NoticePanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("noticePanel");
    setAccessibleName("Meddelelser");
    title_ = new QLabel(this);
    auto* close = new QToolButton(this);
    close->setObjectName("closeNotices");
    close->setText(QStringLiteral("\u00D7"));
    close->setAutoRaise(true);
    close->setToolTip("Luk meddelelserne");
    close->setAccessibleName("Luk meddelelserne");
    list_ = new QListWidget(this);
    list_->setObjectName("notices");
    list_->setAccessibleName("Meddelelser fra kørslen");
    list_->setMaximumHeight(list_->fontMetrics().height() * VisibleLines + 2 * list_->frameWidth() + 4);
    title_->setBuddy(list_);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(4, 2, 2, 0);
    top->addWidget(title_, 1);
    top->addWidget(close);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(top);
    column->addWidget(list_);

    reopen_ = new QToolButton;
    reopen_->setObjectName("reopenNotices");
    reopen_->setAutoRaise(true);
    reopen_->setToolTip("Vis kørslens meddelelser");
    reopen_->hide();
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    connect(reopen_, &QToolButton::clicked, this, [this] {
        show();
        list_->setFocus();
    });
    hide();
}

void NoticePanel::startRun()
{
    collected_.clear();
}

void NoticePanel::collect(const QString& line)
{
    collected_ << line;
}

void NoticePanel::endRun()
{
    list_->clear();
    list_->addItems(collected_);
    const bool any = !collected_.isEmpty();
    title_->setText(title());
    reopen_->setText(title());
    reopen_->setAccessibleName(title());
    reopen_->setVisible(any);
    setVisible(any);
    if (any)
        list_->setCurrentRow(0);
}

QStringList NoticePanel::lines() const
{
    QStringList all;
    for (int i = 0; i < list_->count(); ++i)
        all << list_->item(i)->text();
    return all;
}

QString NoticePanel::title() const
{
    return QString("Meddelelser (%1)").arg(list_->count());
}
