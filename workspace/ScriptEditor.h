// The script editor: fixed-width text with line numbers, the current line, matching brackets, the check's error
// mark with its tooltip, and completion on Ctrl+Space.
#pragma once

#include <QPlainTextEdit>
#include <QStringList>

class QCompleter;
class QStringListModel;

class ScriptEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ScriptEditor(QWidget* parent = nullptr);

    // Underlines length characters from a 0-based line and column with a red wavy line; the text is its tooltip.
    void setErrorMark(int line, int column, int length, const QString& text);
    void clearErrorMark();
    bool hasErrorMark() const { return errorLength_ > 0; }
    // The marked stretch as document positions; -1 without a mark.
    int errorStart() const { return errorLength_ > 0 ? errorStart_ : -1; }
    int errorLength() const { return errorLength_; }

    // What completion offers besides the built-in words: the names the script declares.
    void setDeclaredNames(const QStringList& names);
    // Opens the completion list for the word before the caret.
    void complete();
    QCompleter* completer() const { return completer_; }
    // The word the caret stands in or just after; empty when none.
    QString wordAtCaret() const;

    // The line-number gutter (public for the gutter widget, which paints through it).
    int gutterWidth() const;
    void paintGutter(QPaintEvent* event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void updateGutter(const QRect& rect, int dy);
    void updateExtraSelections();
    void insertCompletion(const QString& word);
    // The bracket matching the one beside the caret: its position and the caret-side bracket's, or -1s.
    std::pair<int, int> matchingBrackets() const;

    QWidget* gutter_ = nullptr;
    QCompleter* completer_ = nullptr;
    QStringListModel* words_ = nullptr;
    QStringList declaredNames_;
    int errorStart_ = 0;
    int errorLength_ = 0;
    QString errorText_;
};
