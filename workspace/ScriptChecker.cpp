// Checks a script while it is typed: compiled on a worker thread with nothing generated, so typing never waits.
#include "workspace/ScriptChecker.h"

#include "compiler/ScriptCompiler.h"
#include "workspace/QtCp1252.h"

#include <QMetaObject>

namespace {

bool isTokenChar(QChar c)
{
    return c.isLetterOrNumber() || c == '_' || c == '.';
}

// The first character Windows-1252 cannot store; false when there is none.
bool findUnstorable(const QStringList& lines, CheckOutcome& outcome)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QString bad = qt_cp1252::unstorableChars(lines[i]);
        if (bad.isEmpty())
            continue;
        outcome.line = i;
        outcome.column = static_cast<int>(lines[i].indexOf(bad.left(bad[0].isHighSurrogate() ? 2 : 1)));
        outcome.length = bad[0].isHighSurrogate() ? 2 : 1;
        const QString shown = bad[0].isHighSurrogate() ? bad.left(2) : bad.left(1);
        outcome.message = QString("Tegnet \"%1\" kan ikke gemmes").arg(shown);
        outcome.hint = "Filformatet rummer kun vesteuropæiske tegn; ret eller slet tegnet.";
        return true;
    }
    return false;
}

}  // namespace

ScriptChecker::ScriptChecker(QObject* parent) : QObject(parent), compiler_(new tavlix::ScriptCompiler) {}

ScriptChecker::~ScriptChecker()
{
    if (running_.valid())
        running_.wait();
}

CheckOutcome ScriptChecker::checkText(tavlix::ScriptCompiler& compiler, const QString& text)
{
    QStringList lines = text.split('\n');
    // As on saving: a final empty editor line is not a line.
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    CheckOutcome outcome;
    std::vector<std::string> script;
    script.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines)
        script.push_back(qt_cp1252::fromQString(line));
    const tavlix::RunResult r = compiler.check(script, Budget);
    for (const std::string& name : compiler.declaredNames())
        outcome.declaredNames << qt_cp1252::toQString(name);
    outcome.parameters = compiler.listParameters();
    if (findUnstorable(lines, outcome))
        return outcome;
    outcome.cutOff = r.abandoned;
    if (r.error == tavlix::ScriptError::None || r.caretLine < 0)
        return outcome;
    outcome.line = r.caretLine;
    outcome.column = r.caretColumn;
    outcome.length = markLength(lines.value(r.caretLine), outcome.column);
    outcome.message = qt_cp1252::toQString(r.message);
    outcome.hint = qt_cp1252::toQString(r.hint);
    return outcome;
}

int ScriptChecker::markLength(const QString& line, int column)
{
    int end = column;
    while (end < line.size() && isTokenChar(line[end]))
        ++end;
    return std::max(1, end - column);
}

void ScriptChecker::check(const QString& text)
{
    if (running_.valid()) {
        waiting_ = text;
        hasWaiting_ = true;
        return;
    }
    start(text);
}

void ScriptChecker::start(const QString& text)
{
    running_ = std::async(std::launch::async, [this, text] {
        CheckOutcome outcome = checkText(*compiler_, text);
        // Delivered in the window's thread; dropped if this object is gone by then.
        QMetaObject::invokeMethod(
            this, [this, outcome] { finish(outcome); }, Qt::QueuedConnection);
    });
}

void ScriptChecker::finish(const CheckOutcome& outcome)
{
    running_.get();
    if (hasWaiting_) {
        // A newer text is waiting: this result is already out of date.
        hasWaiting_ = false;
        start(waiting_);
        return;
    }
    emit checked(outcome);
}
