// Hands the engine's requests on to the main window, converting its Windows-1252 texts.
#include "workspace/GuiHost.h"

#include "workspace/Cp1252.h"
#include "workspace/TForm1.h"

#include <QApplication>
#include <QLocale>

tavlix::TableSink* GuiHost::createTablePage(const std::string& caption)
{
    return Form.LavTabel(Cp1252::ToQString(caption));
}

tavlix::GraphSink* GuiHost::createGraphPage(const std::string& caption)
{
    return Form.LavGraf(Cp1252::ToQString(caption));
}

void GuiHost::showNoticeText(const std::string& text)
{
    if (Form.ShowMessage)
        Form.ShowMessage(Cp1252::ToQString(text));
}

void GuiHost::reportFault(const std::string& text)
{
    Form.GeneralError(Cp1252::ToQString(text));
}

void GuiHost::showScriptError(const std::string& message)
{
    QApplication::beep();
    Form.SetStatusText(2, Cp1252::ToQString(message));
    StatusShown = true;
}

bool GuiHost::keepGoing()
{
    return Form.KeepGoing();
}

char GuiHost::decimalSeparator() const
{
    QString point = QLocale().decimalPoint();
    return point == "," ? ',' : '.';
}
