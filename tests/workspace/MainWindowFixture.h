// A main window for tests: no start-up documents, and every question and box answered by the test.
#pragma once

#include "workspace/Documents.h"
#include "workspace/GraphPage.h"
#include "workspace/MainWindow.h"
#include "workspace/RunController.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"
#include "workspace/WindowMemory.h"

#include <QAction>
#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <memory>

struct MainWindowFixture {
    std::unique_ptr<MainWindow> window;
    QStringList questions;
    QStringList messages;
    QStringList errors;
    std::deque<QMessageBox::StandardButton> answers;  // answers to the unsaved-changes question, in turn
    std::deque<QString> saveNames;                    // names the save dialog returns ("" cancels)
    QStringList savePresets;
    QString openName;
    QStringList openFolders;  // the folders the open dialog started in
    QStringList saveAllQuestions;
    QMessageBox::StandardButton saveAllAnswer = QMessageBox::Cancel;  // to the question about several documents
    // Answers to "Gem Som ..." on a result page: the name, and the filter the dialog reports as chosen.
    QString resultName;
    QString resultFilter;
    QStringList resultFilters;  // the filters the dialog was offered
    QStringList restoreQuestions;
    bool restoreAnswer = false;  // the answer to "restore the unsaved documents?"

    MainWindowFixture()
    {
        // The user's remembered choices stay out of reach, and every test starts from the defaults.
        QStandardPaths::setTestModeEnabled(true);
        UserPrompts prompts;
        prompts.askSaveChanges = [this](const QString& text) {
            questions << text;
            if (answers.empty())
                return QMessageBox::Abort;
            auto a = answers.front();
            answers.pop_front();
            return a;
        };
        prompts.askSaveFileName = [this](const QString& preset) {
            savePresets << preset;
            if (saveNames.empty())
                return QString();
            QString n = saveNames.front();
            saveNames.pop_front();
            return n;
        };
        prompts.askOpenFileName = [this](const QString& folder) {
            openFolders << folder;
            return openName;
        };
        prompts.askSaveAll = [this](const QString& text) {
            saveAllQuestions << text;
            return saveAllAnswer;
        };
        prompts.showMessage = [this](const QString& text) { messages << text; };
        prompts.showError = [this](const QString& text) { errors << text; };
        prompts.askPdfFileName = [] { return QString(); };
        prompts.askResultFileName = [this](const QString&, const QStringList& filters, QString& chosen) {
            resultFilters = filters;
            if (!resultFilter.isEmpty())
                chosen = resultFilter;
            return resultName;
        };
        prompts.askRestore = [this](const QString& text) {
            restoreQuestions << text;
            return restoreAnswer;
        };
        window = std::make_unique<MainWindow>(prompts);
        window->openStartFilesOnShow = false;
        window->action(Command::KeepResults)->setChecked(false);
        window->documents().exampleDir = QString(TAVLIX_EXAMPLES_DIR) + "/";
        window->show();
        // A check here could only leave the constructor, and the test would go on with a window never shown.
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("The test window was never shown");
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get());
    }

    ScriptPage* scriptPage() const { return window->activeScriptPage(); }

    // Until no run or measurement is under way or waiting (a slider's run after the one it stopped); false when
    // that never came.
    bool waitIdle(int timeoutMs = 60000)
    {
        return QTest::qWaitFor([this] { return window->runs().idle(); }, timeoutMs);
    }
    // "Kør" on the active page, and its end.
    bool run()
    {
        window->onRun();
        return waitIdle();
    }

    // A script page with the given settings and script, as if opened from a file.
    ScriptPage* script(const QStringList& lines, const tavlix::SettingsTexts* settings = nullptr)
    {
        ScriptPage* page = window->documents().newDocument("test.tvx");
        if (settings)
            page->settings() = *settings;
        page->setLines(lines);
        page->setModified(false);
        window->setCommandEnabled(Command::Save, false);
        return page;
    }

    // Runs a script page with the given settings and script and shows the first graph page it made (or null).
    GraphPage* runToGraph(const QStringList& lines, const tavlix::SettingsTexts& settings)
    {
        script(lines, &settings);
        if (!run())
            return nullptr;
        for (int i = 0; i < window->pageCount(); ++i)
            if (auto* graph = qobject_cast<GraphPage*>(window->page(i))) {
                window->activatePage(graph);
                return graph;
            }
        return nullptr;
    }
};

// Reads a whole file as bytes.
inline QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    return f.write(bytes) == bytes.size();
}
