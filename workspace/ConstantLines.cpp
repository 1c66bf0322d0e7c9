// Rewrites the lines of a script for a fit; sections are found by their keyword at the start of a line, as the
// section buttons write them.
#include "workspace/ConstantLines.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace {

// The section keywords in the order a script has them; the singular of the equations' keyword counts too.
const QStringList SectionOrder = {"konstanter", "tabeller",     "differentialligninger",
                                  "funktioner", "grafvariable", "tabelvariable"};
constexpr int ConstantsRank = 0;
constexpr int FunctionsRank = 3;

int sectionRank(const QString& line)
{
    static const QRegularExpression FirstWord("^\\s*([A-Za-z]+)");
    const QRegularExpressionMatch m = FirstWord.match(line);
    if (!m.hasMatch())
        return -1;
    QString word = m.captured(1).toLower();
    if (word == "differentialligning")
        word = "differentialligninger";
    return static_cast<int>(SectionOrder.indexOf(word));
}

// The section's header line and the line after its last non-empty line; header -1 when the script has none.
struct SectionSpan {
    int header = -1;
    int end = 0;
};

SectionSpan findSection(const QStringList& lines, int rank)
{
    SectionSpan span;
    for (int i = 0; i < lines.size(); ++i) {
        const int r = sectionRank(lines[i]);
        if (span.header >= 0 && r >= 0)
            break;
        if (r == rank) {
            span.header = i;
            span.end = i + 1;
        } else if (span.header >= 0 && !lines[i].trimmed().isEmpty()) {
            span.end = i + 1;
        }
    }
    return span;
}

// Where a missing section goes: before the first section that belongs after it, else at the end.
int insertionLine(const QStringList& lines, int rank)
{
    for (int i = 0; i < lines.size(); ++i)
        if (sectionRank(lines[i]) > rank)
            return i;
    return static_cast<int>(lines.size());
}

// Adds a line at the end of a section, making the section when the script has none.
void addToSection(QStringList& lines, int rank, const QString& line, const QString& header)
{
    const SectionSpan span = findSection(lines, rank);
    if (span.header >= 0) {
        lines.insert(span.end, line);
        return;
    }
    const int at = insertionLine(lines, rank);
    lines.insert(at, line);
    lines.insert(at, header);
}

QString constantPattern(const QString& name)
{
    // name = number, the number ending the assignment (white space, a comment or the line's end follows).
    return "(^|[\\s,;])(" + QRegularExpression::escape(name) +
           ")(\\s*=\\s*)(-?\\d+(?:\\.\\d*)?(?:e[-+]?\\d+)?)(?=\\s|\\(\\*|$)";
}

// Selects old lines first..last (none when last < first) and returns the text that replaces them, line ends
// included where lines come or go.
QString selectChange(QTextCursor& c, qsizetype oldCount, qsizetype first, qsizetype last, const QStringList& middle)
{
    const QTextDocument& document = *c.document();
    auto blockAt = [&document](qsizetype n) { return document.findBlockByNumber(static_cast<int>(n)); };
    auto endOf = [&blockAt](qsizetype n) { return blockAt(n).position() + blockAt(n).length() - 1; };
    QString text = middle.join('\n');
    if (last >= first && middle.isEmpty()) {
        // Lines go with their line ends: up to the next line's start, or from the end of the line before them.
        c.setPosition(last + 1 < oldCount ? blockAt(first).position() : (first > 0 ? endOf(first - 1) : 0));
        if (last + 1 < oldCount)
            c.setPosition(blockAt(last + 1).position(), QTextCursor::KeepAnchor);
        else
            c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    } else if (last >= first) {
        c.setPosition(blockAt(first).position());
        c.setPosition(endOf(last), QTextCursor::KeepAnchor);
    } else if (first < oldCount) {
        c.setPosition(blockAt(first).position());
        text += '\n';
    } else {
        c.movePosition(QTextCursor::End);
        text.prepend('\n');
    }
    return text;
}

}  // namespace

QString ConstantLines::numberText(double value)
{
    return QString::number(value, 'g', 12);
}

QStringList ConstantLines::withValues(const QStringList& lines, const Values& values)
{
    QStringList result = lines;
    const SectionSpan span = findSection(lines, ConstantsRank);
    if (span.header < 0)
        return result;
    for (const auto& [name, value] : values) {
        const QRegularExpression re(constantPattern(name), QRegularExpression::CaseInsensitiveOption);
        for (int i = span.header; i < span.end; ++i) {
            const QRegularExpressionMatch m = re.match(result[i]);
            if (!m.hasMatch())
                continue;
            result[i].replace(m.capturedStart(4), m.capturedLength(4), numberText(value));
            break;
        }
    }
    return result;
}

QStringList ConstantLines::withModel(const QStringList& lines, const QString& name, const QString& expression,
                                     const Values& constants)
{
    QStringList result = lines;
    const SectionSpan span = findSection(lines, ConstantsRank);
    QStringList missing;
    for (const auto& [constant, value] : constants) {
        const QRegularExpression re(constantPattern(constant), QRegularExpression::CaseInsensitiveOption);
        const bool written =
            span.header >= 0 && std::any_of(lines.begin() + span.header, lines.begin() + span.end,
                                            [&re](const QString& l) { return re.match(l).hasMatch(); });
        if (!written)
            missing << constant + " = " + numberText(value);
    }
    if (!missing.isEmpty())
        addToSection(result, ConstantsRank, "  " + missing.join("   "), "Konstanter");
    addToSection(result, FunctionsRank, "  " + name + " = " + expression, "Funktioner");
    return result;
}

QString ConstantLines::expression(FitTemplate shape)
{
    switch (shape) {
    case FitTemplate::Linear: return "a*t + b";
    case FitTemplate::Exponential: return "b*a^t";
    case FitTemplate::Power: return "b*t^a";
    case FitTemplate::Logistic: return "k/(1 + (k/y0 - 1)*exp(-r*t))";
    }
    return {};
}

ConstantLines::Values ConstantLines::startValues(FitTemplate shape, double firstY, double largestY)
{
    // Starts a fit converges from on ordinary school data: growth a little above 1, the logistic's level and start
    // taken from the data.
    switch (shape) {
    case FitTemplate::Linear: return {{"a", 1}, {"b", 0}};
    case FitTemplate::Exponential: return {{"a", 1.1}, {"b", firstY != 0 ? firstY : 1}};
    case FitTemplate::Power: return {{"a", 1}, {"b", 1}};
    case FitTemplate::Logistic:
        return {{"k", largestY > 0 ? 1.1 * largestY : 1}, {"y0", firstY > 0 ? firstY : 1}, {"r", 1}};
    }
    return {};
}

QStringList ConstantLines::linesOf(const QPlainTextEdit& editor)
{
    QStringList lines;
    for (QTextBlock b = editor.document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines;
}

void ConstantLines::apply(QPlainTextEdit& editor, const QStringList& lines)
{
    const QStringList old = linesOf(editor);
    // Only the differing middle is replaced, so the caret and the colouring of the rest stay.
    qsizetype first = 0;
    while (first < old.size() && first < lines.size() && old[first] == lines[first])
        ++first;
    qsizetype tail = 0;
    while (tail < old.size() - first && tail < lines.size() - first &&
           old[old.size() - 1 - tail] == lines[lines.size() - 1 - tail])
        ++tail;
    if (first == old.size() && first == lines.size())
        return;
    QTextCursor c(editor.document());
    const QString text =
        selectChange(c, old.size(), first, old.size() - 1 - tail, lines.mid(first, lines.size() - first - tail));
    c.beginEditBlock();
    c.insertText(text);
    c.endEditBlock();
}
