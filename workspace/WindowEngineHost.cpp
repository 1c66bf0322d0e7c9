// Hands the engine's requests on to the main window, converting its Windows-1252 texts.
#include "workspace/WindowEngineHost.h"

#include "support/FormatNumber.h"
#include "workspace/GraphPage.h"
#include "workspace/MainWindow.h"
#include "workspace/NoticePanel.h"
#include "workspace/QtCp1252.h"
#include "workspace/TablePage.h"

#include <QApplication>
#include <QLocale>

tavlix::TableSink* WindowEngineHost::createTablePage(const std::string& caption)
{
    ++pagesMade_;
    return madePage(window_.createTablePage(qt_cp1252::toQString(caption)));
}

tavlix::GraphSink* WindowEngineHost::createGraphPage(const std::string& caption)
{
    ++pagesMade_;
    return madePage(window_.createGraphPage(qt_cp1252::toQString(caption)));
}

void WindowEngineHost::showNotice(tavlix::Notice notice, double t)
{
    // "1a: division med 0" becomes "Division med 0 ved t = 0,5 på doc.tvx-1 (1a)": what, when, where, then the code.
    const QString text = qt_cp1252::toQString(tavlix::noticeText(notice));
    const qsizetype colon = text.indexOf(": ");
    QString what = text.mid(colon + 2);
    what[0] = what[0].toUpper();
    QString line = what + " ved t = " + qt_cp1252::toQString(tavlix::formatNumber(10, t)).trimmed();
    if (lastPage_)
        line += " på " + lastPage_->caption();
    window_.noticePanel()->collect(line + " (" + text.left(colon) + ")");
}

void WindowEngineHost::showNoticeText(const std::string& text)
{
    window_.noticePanel()->collect(qt_cp1252::toQString(text));
}

void WindowEngineHost::reportFault(const std::string& text)
{
    window_.reportError(qt_cp1252::toQString(text));
}

void WindowEngineHost::showScriptError(const std::string& message)
{
    QApplication::beep();
    window_.setStatus(StatusField::Error, qt_cp1252::toQString(message));
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

tavlix::TableSink* WindowEngineHost::madePage(tavlix::TableSink* sink)
{
    lastPage_ = dynamic_cast<TablePage*>(sink);
    return sink;
}

tavlix::GraphSink* WindowEngineHost::madePage(tavlix::GraphSink* sink)
{
    lastPage_ = dynamic_cast<GraphPage*>(sink);
    return sink;
}

void WindowEngineHost::integrationFinished(const tavlix::SolverStatistics& statistics)
{
    if (lastPage_ && source_)
        lastPage_->setIntegration({source_, pagesMade_, statistics});
}

void WindowEngineHost::beginRun(std::shared_ptr<const RunSource> source)
{
    source_ = std::move(source);
    pagesMade_ = 0;
    lastPage_ = nullptr;
}
