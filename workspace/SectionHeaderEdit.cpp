// What a section button does to a script: go to the section's end, or put the section where it belongs.
#include "workspace/SectionHeaderEdit.h"

#include "compiler/Lexer.h"
#include "workspace/QtCp1252.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace {

// The sections in the order a script has them; the template line compiles as it stands, and its placeholder is
// the part the user is most likely to type over.
struct SectionTemplate {
    Section section;
    tavlix::TokenKind keyword;
    const char* header;
    const char* line;
    const char* placeholder;
};

constexpr SectionTemplate Templates[] = {
    {Section::Constants, tavlix::TokenKind::ConstantsKeyword, "Konstanter", "  a = 1", "1"},
    {Section::Tables, tavlix::TokenKind::TablesKeyword, "Tabeller", "  tab = <(0, 0), (1, 1)>", "(0, 0), (1, 1)"},
    {Section::DifferentialEquations, tavlix::TokenKind::EquationsKeyword, "DifferentialLigninger", "  y' = -y   <1>",
     "-y"},
    {Section::Functions, tavlix::TokenKind::FunctionsKeyword, "Funktioner", "  f = t", "t"},
    {Section::GraphVariables, tavlix::TokenKind::GraphOutputKeyword, "GrafVariable", "  t, f, l1", "f"},
    {Section::TableVariables, tavlix::TokenKind::TableOutputKeyword, "TabelVariable", "  t, f", "f"},
};

// A section keyword met in the script: its place in the order of sections and where it stands.
struct FoundSection {
    int rank = 0;
    int line = 0;
    int column = 0;
    int length = 0;
    bool firstOnLine = false;  // only white space or comments before it on its line
};

int rankOf(tavlix::TokenKind kind)
{
    for (int i = 0; i < static_cast<int>(std::size(Templates)); ++i)
        if (Templates[i].keyword == kind)
            return i;
    return -1;
}

std::vector<FoundSection> findSections(const QStringList& lines)
{
    // The text as a run reads it: Windows-1252, one byte per UTF-16 unit, every line ended by CR LF.
    std::string source;
    std::vector<int> lineStarts;  // 1-based, as the lexer counts
    for (const QString& line : lines) {
        lineStarts.push_back(static_cast<int>(source.size()) + 1);
        source += qt_cp1252::fromQString(line) + "\r\n";
    }
    const std::size_t tokenBound = source.size() + 1;
    tavlix::Lexer lexer;
    lexer.startReading(std::move(source));
    std::vector<FoundSection> found;
    int lastTokenLine = -1;
    // Every token but the end moves on by at least one character.
    for (std::size_t n = 0; n < tokenBound; ++n) {
        lexer.nextToken();
        const tavlix::TokenKind kind = lexer.tokenKind();
        if (kind == tavlix::TokenKind::End)
            break;
        if (kind == tavlix::TokenKind::Comment)
            continue;
        const int start = lexer.tokenStart();
        const auto after = std::upper_bound(lineStarts.begin(), lineStarts.end(), start);
        const int line = static_cast<int>(after - lineStarts.begin()) - 1;
        if (const int rank = rankOf(kind); rank >= 0)
            found.push_back({rank, line, start - lineStarts[static_cast<std::size_t>(line)],
                             static_cast<int>(lexer.nameText().size()), lastTokenLine != line});
        lastTokenLine = line;
    }
    return found;
}

const SectionTemplate& templateOf(Section section)
{
    return *std::find_if(std::begin(Templates), std::end(Templates),
                         [section](const SectionTemplate& t) { return t.section == section; });
}

}  // namespace

SectionHeaderEdit::SectionHeaderEdit(const QTextDocument& script, Section section, const QString& body)
{
    QStringList lines;
    for (QTextBlock b = script.begin(); b.isValid(); b = b.next())
        lines << b.text();
    const SectionTemplate& t = templateOf(section);
    const int rank = rankOf(t.keyword);
    const std::vector<FoundSection> found = findSections(lines);

    // An output section may come more than once; the last one is where more output would go.
    auto same = std::find_if(found.rbegin(), found.rend(), [rank](const FoundSection& f) { return f.rank == rank; });
    if (same != found.rend()) {
        auto next = same.base();
        if (next != found.end() && next->line == same->line) {
            line_ = same->line;
            column_ = same->column + same->length;
            if (!body.isEmpty())
                text_ = "\n" + body + "\n";
            placeholderStart_ = static_cast<int>(text_.size());
            return;
        }
        const int end = next != found.end() ? next->line : static_cast<int>(lines.size());
        line_ = same->line;
        for (int i = same->line + 1; i < end; ++i)
            if (!lines[i].trimmed().isEmpty())
                line_ = i;
        column_ = static_cast<int>(lines[line_].size());
        if (!body.isEmpty())
            text_ = "\n" + body;
        placeholderStart_ = static_cast<int>(text_.size());
        return;
    }

    const QString header = QString::fromLatin1(t.header) + "\n" + (body.isEmpty() ? QString::fromLatin1(t.line) : body);
    placeholderStart_ = body.isEmpty() ? static_cast<int>(header.lastIndexOf(QString::fromLatin1(t.placeholder)))
                                       : static_cast<int>(header.size());
    placeholderLength_ = body.isEmpty() ? static_cast<int>(qstrlen(t.placeholder)) : 0;
    auto later = std::find_if(found.begin(), found.end(), [rank](const FoundSection& f) { return f.rank > rank; });
    if (later != found.end()) {
        // Before the first section that belongs after it; a keyword in mid-line gets a line break first.
        line_ = later->line;
        column_ = later->firstOnLine ? 0 : later->column;
        text_ = (later->firstOnLine ? QString() : QString("\n")) + header + "\n";
    } else {
        // At the end, on a line of its own.
        line_ = static_cast<int>(lines.size()) - 1;
        column_ = static_cast<int>(lines.last().size());
        text_ = (lines.last().isEmpty() ? QString() : QString("\n")) + header;
    }
    if (text_.startsWith('\n'))
        ++placeholderStart_;
}

void SectionHeaderEdit::apply(QPlainTextEdit& editor) const
{
    QTextDocument* script = editor.document();
    const QTextBlock block = script->findBlockByNumber(line_);
    const int at = block.position() + std::clamp(column_, 0, block.length() - 1);
    QTextCursor c(script);
    c.setPosition(at);
    if (insertsText()) {
        c.beginEditBlock();
        c.insertText(text_);
        c.endEditBlock();
        c.setPosition(at + placeholderStart_);
        c.setPosition(at + placeholderStart_ + placeholderLength_, QTextCursor::KeepAnchor);
    }
    editor.setTextCursor(c);
    editor.ensureCursorVisible();
}
