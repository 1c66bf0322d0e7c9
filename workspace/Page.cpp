// The page base: printing and copying do nothing unless a page kind says otherwise.
#include "workspace/Page.h"

#include "workspace/AccuracyTexts.h"
#include "workspace/PageHost.h"

#include <QContextMenuEvent>
#include <QMenu>

Page::Page(PageKind kind, PageHost& host, QWidget* parent) : QWidget(parent), kind_(kind), host_(host) {}

void Page::print(QPrinter&) {}

void Page::copyToClipboard() {}

void Page::updateCommands()
{
    host_.resetCommands();
}

void Page::setCaption(const QString& text)
{
    caption_ = text;
    setAccessibleName(text);
    host_.pageCaptionChanged(this, text);
}

void Page::setIntegration(ResultOrigin origin)
{
    integration_ = std::move(origin);
}

void Page::showIntegration()
{
    if (!integration_)
        return;
    host_.setStatus(StatusField::Message, accuracy_texts::summary(integration_->statistics));
    host_.setCommandEnabled(Command::Accuracy, true);
}

void Page::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = kind_ == PageKind::Script ? nullptr : host_.resultPageMenu();
    if (!menu) {
        event->ignore();
        return;
    }
    menu->exec(event->globalPos());
}
