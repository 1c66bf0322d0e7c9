// The tool buttons' pictures and the program icon, drawn in one consistent style.
#pragma once

#include <QIcon>

enum class Icon {
    New,
    Open,
    Save,
    Close,
    Print,
    Cut,
    Copy,
    Paste,
    PasteData,
    Run,
    Stop,
    Coordinates,
    FitGraph,
    PrintSize,
    Label,
    SolveThrough,
    TablePage,
    GraphPage
};

QIcon toolIcon(Icon icon);
QIcon programIcon();
