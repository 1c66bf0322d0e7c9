// The window's commands: one QAction each, shared by the menu, the pop-up menu and the tool bar.
#pragma once

enum class Command {
    New,
    Open,
    Save,
    SaveAs,
    ClosePage,
    Print,     // asks for a printer first
    PrintNow,  // the tool button: prints at once
    Quit,
    Cut,
    Copy,
    Paste,
    Delete,
    SelectAll,
    Find,
    Run,
    Coordinates,
    PrintSize,
    AddLabel,
    FitGraph,
    About,
    KeepResults,   // a check item: runs add pages instead of refreshing the last run's
    NextPage,      // Ctrl+Tab and Ctrl+Page Down, whatever has the focus
    PreviousPage,  // Ctrl+Shift+Tab and Ctrl+Page Up
    ZoomBack,      // the view before a graph's latest zoom or pan
    ShowLegend,    // a check item per graph page: "Vis forklaring"
    Accuracy,      // measures a result page from differential equations against a finer run
    ClearRecent,   // empties "Filer > Seneste"
    Undo,
    Redo,
    LanguageHelp,       // the script language's help, at the word under the caret
    SlopeField,         // a check item per graph page: the direction field of its differential equations
    SolveThrough,       // the next click in the graph draws the solution through that point
    AxesThroughOrigin,  // a check item for every graph page, remembered: "Akser gennem (0; 0)"
    SaveDocumentAs,     // Ctrl+Shift+S: the active page's document under a new name, from a result page too
    PasteData,          // the clipboard's table into the Tabeller section
    ImportData,         // a CSV, TSV or text file's table into the Tabeller section
    FitConstants,       // "Tilpas konstanter ...": fits plain-number constants of the document to a data table
    ShowPoints,         // a check item per graph page: "Vis punkter", the zeros, extremes and intersections
    TangentAt,          // the next click in the graph draws the tangent of the curve there
    AreaUnder,          // "Areal under graf ...": shades and integrates between two x values
    Stop,               // Escape during a run
};

inline constexpr int CommandCount = static_cast<int>(Command::Stop) + 1;

// The three fields of the status bar; Error writes the message field in the colour of errors.
enum class StatusField { X, Y, Message, Error };

// The buttons of the section panel: six section headers, then the two example documents.
enum class Section {
    Constants,
    Tables,
    DifferentialEquations,
    Functions,
    GraphVariables,
    TableVariables,
    FirstExample,
    SecondExample,
};

inline constexpr int SectionCount = static_cast<int>(Section::SecondExample) + 1;
