// Pictures of a graph for the batch mode: CAPTION.svg as the copy draws it, and CAPTION.png as the screen shows it.
#include "graph/GraphExport.h"

bool ExportGraph(const std::string&, const double (&)[16], const TKurveList&, std::string& error)
{
    error = "not built yet";
    return false;
}
