// Colours a script as the compiler's lexer reads it, one line at a time, with calm colours for either palette.
#include "workspace/ScriptHighlighter.h"

#include "workspace/QtCp1252.h"

#include <QPlainTextEdit>
#include <QTextBlock>

namespace {

// A line's colouring remembers the declared names it was coloured with.
class NamesGeneration : public QTextBlockUserData {
public:
    explicit NamesGeneration(int generation) : generation(generation) {}
    int generation;
};

constexpr int InComment = 1;

}  // namespace

ScriptHighlighter::ScriptHighlighter(QPlainTextEdit* editor) : QSyntaxHighlighter(editor->document()), editor_(editor)
{
    chooseColours();
}

void ScriptHighlighter::chooseColours()
{
    using tavlix::ColourClass;
    // Muted hues, a little lighter on a dark base: the script is read, so nothing shouts.
    const bool dark = editor_->palette().color(QPalette::Base).lightness() < 128;
    struct Entry {
        ColourClass colour;
        const char* light;
        const char* onDark;
        bool bold;
        bool italic;
    };
    const Entry entries[] = {
        {ColourClass::Section, "#1f4e8c", "#8cb4e8", true, false},
        {ColourClass::Keyword, "#6f3f8f", "#c8a2e0", true, false},
        {ColourClass::Function, "#1f6f73", "#7cc7c9", false, false},
        {ColourClass::Number, "#8a4b14", "#e0aa78", false, false},
        {ColourClass::Comment, "#6a6f75", "#9aa0a6", false, true},
        {ColourClass::Style, "#7a6500", "#d8c36a", false, false},
    };
    for (const Entry& e : entries) {
        QTextCharFormat f;
        f.setForeground(QColor(dark ? e.onDark : e.light));
        if (e.bold)
            f.setFontWeight(QFont::DemiBold);
        f.setFontItalic(e.italic);
        formats_[static_cast<int>(e.colour)] = f;
    }
    declaredFormat_.setForeground(QColor(dark ? "#93d3a2" : "#2a6a35"));
}

QTextCharFormat ScriptHighlighter::format(tavlix::ColourClass colour) const
{
    return formats_[static_cast<int>(colour)];
}

void ScriptHighlighter::setDeclaredNames(const QSet<QString>& names)
{
    if (names == declaredNames_)
        return;
    declaredNames_ = names;
    ++namesGeneration_;
    refreshVisibleBlocks();
}

void ScriptHighlighter::refreshVisibleBlocks()
{
    const int last = editor_->cursorForPosition(QPoint(0, editor_->viewport()->height())).blockNumber();
    QTextBlock block = editor_->cursorForPosition(QPoint(0, 0)).block();
    recolouring_ = true;
    for (; block.isValid() && block.blockNumber() <= last; block = block.next()) {
        const auto* seen = static_cast<NamesGeneration*>(block.userData());
        if (!seen || seen->generation != namesGeneration_)
            rehighlightBlock(block);
    }
    recolouring_ = false;
}

void ScriptHighlighter::highlightBlock(const QString& text)
{
    const bool inComment = previousBlockState() == InComment;
    const std::string line = qt_cp1252::fromQString(text);
    std::vector<tavlix::ColouredSpan> spans;
    const bool endsInComment = tavlix::colourLine(line, inComment, spans);
    for (const tavlix::ColouredSpan& span : spans) {
        if (span.colour == tavlix::ColourClass::Name) {
            if (declaredNames_.contains(text.mid(span.start, span.length).toLower()))
                setFormat(span.start, span.length, declaredFormat_);
            continue;
        }
        setFormat(span.start, span.length, formats_[static_cast<int>(span.colour)]);
    }
    setCurrentBlockState(endsInComment ? InComment : 0);
    setCurrentBlockUserData(new NamesGeneration(namesGeneration_));
}
