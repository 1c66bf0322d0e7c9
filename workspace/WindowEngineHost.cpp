// Hands the engine's requests on to the main window, converting its Windows-1252 texts.
#include "workspace/WindowEngineHost.h"

#include "workspace/MainWindow.h"
#include "workspace/QtCp1252.h"

#include <QApplication>
#include <QLocale>

TableTarget* WindowEngineHost::LavTabel(const std::string& caption)
{
    return window_.createTablePage(QtCp1252::toQString(caption));
}

GraphTarget* WindowEngineHost::LavGraf(const std::string& caption)
{
    return window_.createGraphPage(QtCp1252::toQString(caption));
}

void WindowEngineHost::Notice(const char* text)
{
    if (window_.prompts().showMessage)
        window_.prompts().showMessage(QtCp1252::toQString(text));
}

void WindowEngineHost::GeneralError(const std::string& text)
{
    window_.reportError(QtCp1252::toQString(text));
}

void WindowEngineHost::ShowStatus(const std::string& message)
{
    QApplication::beep();
    window_.setStatus(StatusField::Message, QtCp1252::toQString(message));
    errorShown = true;
}

bool WindowEngineHost::KeepGoing()
{
    return window_.keepGoing();
}

char WindowEngineHost::DecimalSeparator() const
{
    QString point = QLocale().decimalPoint();
    return point == "," ? ',' : '.';
}
