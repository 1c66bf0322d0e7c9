// The script editor: fixed-width text with line numbers, the current line, matching brackets, the check's error
// mark with its tooltip, and completion on Ctrl+Space.
#include "workspace/ScriptEditor.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>
#include <QToolTip>

namespace {

// The words completion always offers, spelt as the user sees them.
const QStringList& builtInWords()
{
    static const QStringList Words = {"Konstanter", "Tabeller",     "DifferentialLigninger",
                                      "Funktioner", "GrafVariable", "TabelVariable",
                                      "hvis",       "og",           "eller",
                                      "stop",       "sin",          "cos",
                                      "tan",        "cot",          "arcsin",
                                      "arccos",     "arctan",       "arccot",
                                      "asin",       "acos",         "atan",
                                      "acot",       "atn",          "log",
                                      "ln",         "exp",          "sqr",
                                      "abs",        "pi",           "t"};
    return Words;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == '_';
}

// Brackets are searched this far, so a caret beside an unmatched one in a long script costs little.
constexpr int BracketReach = 20000;

class Gutter : public QWidget {
public:
    explicit Gutter(ScriptEditor* editor) : QWidget(editor), editor_(editor) {}
    QSize sizeHint() const override { return {editor_->gutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { editor_->paintGutter(event); }

private:
    ScriptEditor* editor_;
};

}  // namespace

ScriptEditor::ScriptEditor(QWidget* parent) : QPlainTextEdit(parent), gutter_(new Gutter(this))
{
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    words_ = new QStringListModel(builtInWords(), this);
    completer_ = new QCompleter(words_, this);
    completer_->setWidget(this);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    completer_->popup()->setAccessibleName("Fuldførelse");
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this, &ScriptEditor::insertCompletion);
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(gutterWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, &ScriptEditor::updateGutter);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &ScriptEditor::updateExtraSelections);
    setViewportMargins(gutterWidth(), 0, 0, 0);
    updateExtraSelections();
}

int ScriptEditor::gutterWidth() const
{
    int digits = 1;
    for (int n = std::max(1, blockCount()); n >= 10; n /= 10)
        ++digits;
    return 10 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 3);
}

void ScriptEditor::updateGutter(const QRect& rect, int dy)
{
    if (dy)
        gutter_->scroll(0, dy);
    else
        gutter_->update(0, rect.y(), gutter_->width(), rect.height());
}

void ScriptEditor::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect r = contentsRect();
    gutter_->setGeometry(QRect(r.left(), r.top(), gutterWidth(), r.height()));
}

void ScriptEditor::paintGutter(QPaintEvent* event)
{
    QPainter p(gutter_);
    const QPalette& pal = palette();
    p.fillRect(event->rect(), pal.color(QPalette::Window));
    p.setPen(pal.color(QPalette::PlaceholderText));
    p.setFont(font());
    const int current = textCursor().blockNumber();
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top()) {
            p.setPen(block.blockNumber() == current ? pal.color(QPalette::Text) : pal.color(QPalette::PlaceholderText));
            // The numbers the error messages and the check use: the first line is 1.
            p.drawText(0, top, gutter_->width() - 5, height, Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top += height;
    }
}

void ScriptEditor::setErrorMark(int line, int column, int length, const QString& text)
{
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid()) {
        clearErrorMark();
        return;
    }
    const int blockLength = block.length() - 1;
    column = std::clamp(column, 0, std::max(blockLength - 1, 0));
    errorStart_ = block.position() + column;
    errorLength_ = std::max(1, std::min(length, std::max(blockLength - column, 1)));
    errorText_ = text;
    updateExtraSelections();
}

void ScriptEditor::clearErrorMark()
{
    if (errorLength_ == 0)
        return;
    errorLength_ = 0;
    errorText_.clear();
    updateExtraSelections();
}

std::pair<int, int> ScriptEditor::matchingBrackets() const
{
    const QTextDocument* doc = document();
    const int caret = textCursor().position();
    for (int at : {caret, caret - 1}) {
        if (at < 0)
            continue;
        const QChar c = doc->characterAt(at);
        const QString pairs = "()<>";
        const int kind = pairs.indexOf(c);
        if (kind < 0)
            continue;
        const bool opens = kind % 2 == 0;
        const QChar other = pairs[opens ? kind + 1 : kind - 1];
        const int step = opens ? 1 : -1;
        const int end = std::clamp(at + step * BracketReach, 0, doc->characterCount());
        int depth = 0;
        for (int i = at + step; i != end && i >= 0; i += step) {
            const QChar x = doc->characterAt(i);
            if (x == c)
                ++depth;
            else if (x == other && depth-- == 0)
                return {at, i};
        }
    }
    return {-1, -1};
}

void ScriptEditor::updateExtraSelections()
{
    QList<QTextEdit::ExtraSelection> all;
    const bool dark = palette().color(QPalette::Base).lightness() < 128;
    QTextEdit::ExtraSelection line;
    line.format.setBackground(dark ? QColor(255, 255, 255, 18) : QColor(0, 0, 0, 10));
    line.format.setProperty(QTextFormat::FullWidthSelection, true);
    line.cursor = textCursor();
    line.cursor.clearSelection();
    all << line;
    const auto [from, to] = matchingBrackets();
    for (int at : {from, to}) {
        if (at < 0)
            continue;
        QTextEdit::ExtraSelection bracket;
        bracket.cursor = QTextCursor(document());
        bracket.cursor.setPosition(at);
        bracket.cursor.setPosition(at + 1, QTextCursor::KeepAnchor);
        bracket.format.setBackground(dark ? QColor(90, 110, 150) : QColor(205, 220, 245));
        bracket.format.setFontWeight(QFont::Bold);
        all << bracket;
    }
    if (errorLength_ > 0) {
        QTextEdit::ExtraSelection error;
        error.cursor = QTextCursor(document());
        error.cursor.setPosition(std::min(errorStart_, document()->characterCount() - 1));
        error.cursor.setPosition(std::min(errorStart_ + errorLength_, document()->characterCount() - 1),
                                 QTextCursor::KeepAnchor);
        error.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        error.format.setUnderlineColor(QColor(dark ? "#ff6b6b" : "#d01010"));
        error.format.setToolTip(errorText_);
        all << error;
    }
    setExtraSelections(all);
}

bool ScriptEditor::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && errorLength_ > 0) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int at = cursorForPosition(viewport()->mapFromGlobal(help->globalPos())).position();
        if (at >= errorStart_ && at <= errorStart_ + errorLength_)
            QToolTip::showText(help->globalPos(), errorText_, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void ScriptEditor::setDeclaredNames(const QStringList& names)
{
    if (names == declaredNames_)
        return;
    declaredNames_ = names;
    QStringList words = builtInWords();
    for (const QString& n : names)
        if (!words.contains(n, Qt::CaseInsensitive))
            words << n;
    words.sort(Qt::CaseInsensitive);
    words_->setStringList(words);
}

QString ScriptEditor::wordAtCaret() const
{
    const QTextCursor c = textCursor();
    const QString text = c.block().text();
    int from = c.positionInBlock(), to = from;
    while (from > 0 && isWordChar(text[from - 1]))
        --from;
    while (to < text.size() && isWordChar(text[to]))
        ++to;
    return text.mid(from, to - from);
}

void ScriptEditor::complete()
{
    const QTextCursor c = textCursor();
    const QString text = c.block().text();
    int from = c.positionInBlock();
    while (from > 0 && isWordChar(text[from - 1]))
        --from;
    completer_->setCompletionPrefix(text.mid(from, c.positionInBlock() - from));
    completer_->popup()->setCurrentIndex(completer_->completionModel()->index(0, 0));
    QRect r = cursorRect();
    r.setWidth(completer_->popup()->sizeHintForColumn(0) +
               completer_->popup()->verticalScrollBar()->sizeHint().width());
    completer_->complete(r);
}

void ScriptEditor::insertCompletion(const QString& word)
{
    QTextCursor c = textCursor();
    const int typed = completer_->completionPrefix().size();
    c.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, typed);
    c.insertText(word);
    setTextCursor(c);
}

void ScriptEditor::keyPressEvent(QKeyEvent* event)
{
    if (completer_->popup()->isVisible()) {
        switch (event->key()) {
        case Qt::Key_Enter:
        case Qt::Key_Return:
        case Qt::Key_Tab:
        case Qt::Key_Escape:
        case Qt::Key_Backtab: event->ignore(); return;
        default: break;
        }
    }
    if (event->key() == Qt::Key_Space && (event->modifiers() & Qt::ControlModifier)) {
        complete();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
    // While the list is open it follows what is typed.
    if (completer_->popup()->isVisible()) {
        const QString word = wordAtCaret();
        if (word.isEmpty() || event->text().isEmpty())
            completer_->popup()->hide();
        else
            complete();
    }
}
