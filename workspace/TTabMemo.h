// The script page: the plain-text editor of one document, its settings and file, and its runs.
#pragma once

#include "workspace/TTabGen.h"

#include "compiler/ScriptCompiler.h"
#include "support/DocumentFile.h"

#include <QStringList>

#include <memory>

class QHBoxLayout;
class QPlainTextEdit;
namespace tavlix {
class EngineHost;
}  // namespace tavlix

class TTabMemo : public TTabGen {
    Q_OBJECT
public:
    explicit TTabMemo(QWidget* parent = nullptr);
    ~TTabMemo() override;

    QPlainTextEdit* Editor = nullptr;
    tavlix::SettingsTexts Settings;
    bool Modified = false;
    QString FileName;
    std::unique_ptr<tavlix::ScriptCompiler> Compiler;
    int ResultCount() const { return Compiler->resultPageCount(); }

    // The script as lines: a final empty editor line is not a line.
    QStringList Lines() const;
    void SetLines(const QStringList& lines);
    int SelectionLength() const;

    // Marks the document changed and turns the save commands on at once.
    void OnChange();
    // Writes the document to FileName; false (with the general error report) when nothing was written.
    bool Gem();
    void Print(QPrinter& printer) override;
    void Kopier() override;
    void SetEnable() override;
    // One whole run; the caret goes to the token where it stopped.
    tavlix::RunResult Run(tavlix::EngineHost& host);
    // Puts the caret in front of a 0-based line and column; a negative line drops the selection.
    void PutCaret(int line, int column);

    QHBoxLayout* Layout = nullptr;
};
