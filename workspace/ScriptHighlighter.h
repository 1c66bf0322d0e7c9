// Colours a script as the compiler's lexer reads it, one line at a time, with calm colours for either palette.
#pragma once

#include "compiler/ScriptColouring.h"

#include <QSet>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <array>

class QPlainTextEdit;

class ScriptHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit ScriptHighlighter(QPlainTextEdit* editor);

    // The names the script declares (lower case) get their own colour. Only the lines in view are coloured again
    // at once; the others when they come into view.
    void setDeclaredNames(const QSet<QString>& names);
    // Colours again the lines in view that were coloured before the declared names last changed.
    void refreshVisibleBlocks();
    // True while refreshVisibleBlocks colours: the document reports a change that is none.
    bool recolouring() const { return recolouring_; }
    // The format of a colour class on the current palette (tests read it).
    QTextCharFormat format(tavlix::ColourClass colour) const;
    QTextCharFormat declaredNameFormat() const { return declaredFormat_; }

protected:
    void highlightBlock(const QString& text) override;

private:
    void chooseColours();

    QPlainTextEdit* editor_;
    std::array<QTextCharFormat, 8> formats_;
    QTextCharFormat declaredFormat_;
    QSet<QString> declaredNames_;
    int namesGeneration_ = 0;
    bool recolouring_ = false;
};
