// The script edits of a fit: new values in the Konstanter lines, a model function from a template, and the change
// carried into the editor as one undo step.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QPlainTextEdit;

// The model shapes a fit dialog offers when the script has no model of its own.
enum class FitTemplate { Linear, Exponential, Power, Logistic };

class ConstantLines {
public:
    using Values = QList<QPair<QString, double>>;

    // The lines with each named constant's written number replaced (names in any case); a constant that is not
    // written as a plain number is left alone.
    static QStringList withValues(const QStringList& lines, const Values& values);
    // The lines with the constants a template needs (those missing, at their start values) and its function, named
    // name, added where the script's sections put them.
    static QStringList withModel(const QStringList& lines, const QString& name, const QString& expression,
                                 const Values& constants);
    // The template's expression in t and its constants with their start values.
    static QString expression(FitTemplate shape);
    static Values startValues(FitTemplate shape, double firstY, double largestY);
    // A number as a script writes it: a point, up to 12 significant digits.
    static QString numberText(double value);
    // The editor's lines, a final empty one included.
    static QStringList linesOf(const QPlainTextEdit& editor);
    // Replaces the editor's text by the lines as one undo step, rewriting only the lines that differ.
    static void apply(QPlainTextEdit& editor, const QStringList& lines);
};
