// The script page: the plain-text editor of one document, its settings and file, and its runs.
#pragma once

#include "workspace/Page.h"
#include "workspace/ResultOrigin.h"

#include "compiler/ScriptCompiler.h"
#include "support/DocumentFile.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <vector>

namespace tavlix {
class EngineHost;
}  // namespace tavlix
class QHBoxLayout;
class QTimer;
class ScriptChecker;
class ScriptEditor;
class ScriptHighlighter;
struct CheckOutcome;

class ScriptPage : public Page {
    Q_OBJECT
public:
    // The page as a script page, or null when it is a result page (or none).
    static ScriptPage* of(Page* page)
    {
        return page && page->kind() == PageKind::Script ? static_cast<ScriptPage*>(page) : nullptr;
    }
    explicit ScriptPage(PageHost& host, QWidget* parent = nullptr);
    ~ScriptPage() override;

    ScriptEditor* editor() const { return editor_; }
    ScriptHighlighter* highlighter() const { return highlighter_; }
    ScriptChecker* checker() const { return checker_; }
    // The check waits this long after the last change, so it runs when the typing pauses.
    static constexpr int CheckDelayMs = 300;
    // Checks at once instead of after the pause (tests, and a page just opened).
    void checkNow();
    // What the last check found, as the status line and the tooltip show it; empty when nothing.
    QString checkMessage() const { return checkMessage_; }
    // The same on one line, as the status bar shows it.
    QString statusText() const;
    tavlix::SettingsTexts& settings() { return settings_; }
    const tavlix::SettingsTexts& settings() const { return settings_; }
    bool isModified() const { return modified_; }
    void setModified(bool on);
    QString fileName() const { return fileName_; }
    void setFileName(const QString& name) { fileName_ = name; }
    int resultPageCount() const { return compiler_->resultPageCount(); }

    // The script as lines: a final empty editor line is not a line.
    QStringList lines() const;
    void setLines(const QStringList& lines);
    int selectionLength() const;

    // Marks the document changed and turns the save command on at once.
    void markModified();
    // Writes the document to fileName(); false (with the general error report) when nothing was written.
    bool save();
    void print(QPrinter& printer) override;
    void copyToClipboard() override;
    void updateCommands() override;
    // The settings and script as a run reads them, for the pages it makes.
    std::shared_ptr<const RunSource> runSource() const;
    // A run as it starts: the compiler and the script's snapshot go to the run's thread, so the editor stays free.
    struct Run {
        std::shared_ptr<tavlix::ScriptCompiler> compiler;
        std::shared_ptr<const RunSource> source;
        std::string caption;  // Windows-1252
    };
    Run startRun();
    // Executes a started run, on any thread; found: the list constants it declared.
    static tavlix::RunResult execute(const Run& run, tavlix::EngineHost& engineHost,
                                     std::vector<tavlix::ListParameter>& found);
    // The run has ended: on an error the caret goes to the token where it stopped, otherwise the selection goes;
    // a script edited since it started keeps its caret and gets the typing check's marks instead.
    void finishRun(const tavlix::RunResult& r, std::vector<tavlix::ListParameter> found);
    // Compiles the script as a run would, without making pages (the host's pages are never asked for) and without
    // touching this page's run state: the caret, the page numbering or the last run's pages.
    tavlix::RunResult check(tavlix::EngineHost& engineHost) const;
    // The result pages of the last run, in the order the run made them; a refresh run writes into them.
    const QList<QPointer<Page>>& resultPages() const { return resultPages_; }
    void setResultPages(const QList<QPointer<Page>>& pages) { resultPages_ = pages; }
    // The list constants of the last run or check, each with the value the runs from now on use.
    const std::vector<tavlix::ListParameter>& parameters() const { return parameters_; }
    // Makes a parameter's value, counted from 1, the one the runs use.
    void setPick(int parameter, int pick);
    // Turns the family over a parameter on (every graph draws a curve per value) or off; one at a time.
    void setFamily(int parameter, bool on);
    // The parameter whose family the runs draw, or -1.
    int family() const;
    // Whether the script or its settings differ from what the last run read (true before the first run).
    bool editedSinceRun() const;

    // Puts the caret in front of a 0-based line and column; a negative line drops the selection.
    void placeCaret(int line, int column);

private:
    // Marks the line a run stopped at, with the error's text and hint.
    void markRunError(const tavlix::RunResult& r);
    // Takes what a run or check found; the picks carry over by name, clamped to the new lists.
    void adoptParameters(std::vector<tavlix::ListParameter> found);
    void showCheck(const CheckOutcome& outcome);
    // A change of the text itself; the colouring's format changes pass by.
    void onTextChanged();

    ScriptEditor* editor_ = nullptr;
    ScriptHighlighter* highlighter_ = nullptr;
    ScriptChecker* checker_ = nullptr;
    QTimer* checkDelay_ = nullptr;
    QString checkMessage_;
    bool runMarked_ = false;  // the mark is a run's, not the typing check's
    QHBoxLayout* layout_ = nullptr;
    tavlix::SettingsTexts settings_;
    bool modified_ = false;
    QString fileName_;
    // Shared with the run under way, which may outlast this page's closing by a moment.
    std::shared_ptr<tavlix::ScriptCompiler> compiler_;
    QList<QPointer<Page>> resultPages_;
    tavlix::ListPicks picks_;
    std::string familyKey_;
    std::shared_ptr<const RunSource> lastRunSource_;
    std::vector<tavlix::ListParameter> parameters_;

signals:
    // The document became modified or saved.
    void modifiedChanged(bool modified);
    // The list constants changed: others, their values or their number.
    void parametersChanged();
};
