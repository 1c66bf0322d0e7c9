// Hands the engine's requests on to the main window, converting its Windows-1252 texts.
#include "workspace/WindowEngineHost.h"

#include "workspace/MainWindow.h"
#include "workspace/QtCp1252.h"

#include <QApplication>
#include <QLocale>

tavlix::TableSink* WindowEngineHost::createTablePage(const std::string& caption)
{
    return window_.createTablePage(qt_cp1252::toQString(caption));
}

tavlix::GraphSink* WindowEngineHost::createGraphPage(const std::string& caption)
{
    return window_.createGraphPage(qt_cp1252::toQString(caption));
}

void WindowEngineHost::showNoticeText(const std::string& text)
{
    if (window_.prompts().showMessage)
        window_.prompts().showMessage(qt_cp1252::toQString(text));
}

void WindowEngineHost::reportFault(const std::string& text)
{
    window_.reportError(qt_cp1252::toQString(text));
}

void WindowEngineHost::showScriptError(const std::string& message)
{
    QApplication::beep();
    window_.setStatus(StatusField::Message, qt_cp1252::toQString(message));
    errorShown = true;
}

bool WindowEngineHost::keepGoing()
{
    return window_.keepGoing();
}

char WindowEngineHost::decimalSeparator() const
{
    QString point = QLocale().decimalPoint();
    return point == "," ? ',' : '.';
}
