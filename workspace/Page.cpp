// The page base: printing and copying do nothing unless a page kind says otherwise.
#include "workspace/Page.h"

#include "workspace/AccuracyTexts.h"
#include "workspace/PageHost.h"

Page::Page(PageKind kind, PageHost& host, QWidget* parent) : QWidget(parent), kind_(kind), host_(host) {}

void Page::print(QPrinter&) {}

void Page::copyToClipboard() {}

QString Page::saveToFile(const QString&, int)
{
    return {};
}

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
