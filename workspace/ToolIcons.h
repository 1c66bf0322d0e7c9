// The tool buttons' pictures and the program icon, drawn in one consistent style.
#pragma once

#include <QIcon>

// name: new, open, save, close, print, cut, copy, paste, run, stop, koord, tilpas, size, tekst.
QIcon ToolIcon(const QString& name);
QIcon ProgramIcon();
