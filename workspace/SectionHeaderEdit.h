// What a section button does to a script: go to the section's end, or put the section where it belongs.
#pragma once

#include "workspace/Command.h"

#include <QString>

class QPlainTextEdit;
class QTextDocument;

class SectionHeaderEdit {
public:
    // Plans the edit for one of the six section headers (not the example buttons). The script's sections are
    // found with the compiler's own lexer, so case, the singular "DifferentialLigning" and comments count as
    // they do in a run.
    // With body (lines without a final line break), the body goes into the section instead of the template line:
    // after its last non-empty line when it is there.
    SectionHeaderEdit(const QTextDocument& script, Section section, const QString& body = QString());

    // As one undo step: inserts the header with its template line and selects the placeholder, or, when the
    // section is there already, only moves the caret to the end of its last non-empty line.
    void apply(QPlainTextEdit& editor) const;

    bool insertsText() const { return !text_.isEmpty(); }

private:
    int line_ = 0;  // where the text goes, or where the caret goes
    int column_ = 0;
    QString text_;
    int placeholderStart_ = 0;  // within text_
    int placeholderLength_ = 0;
};
