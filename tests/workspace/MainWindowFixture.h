// A main window for tests: no start-up documents, and every question and box answered by the test.
#pragma once

#include "workspace/MainWindow.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"

#include <QDir>
#include <QMessageBox>
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

    MainWindowFixture()
    {
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
        prompts.askOpenFileName = [this] { return openName; };
        prompts.showMessage = [this](const QString& text) { messages << text; };
        prompts.showError = [this](const QString& text) { errors << text; };
        prompts.askPdfFileName = [] { return QString(); };
        window = std::make_unique<MainWindow>(prompts);
        window->openStartFilesOnShow = false;
        window->exampleDir = QString(TAVLIX_EXAMPLES_DIR) + "/";
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get());
    }

    ScriptPage* scriptPage() const { return window->activeScriptPage(); }

    // A script page with the given settings and script, as if opened from a file.
    ScriptPage* script(const QStringList& lines, const tavlix::SettingsTexts* settings = nullptr)
    {
        ScriptPage* page = window->newDocument("test.tvx");
        if (settings)
            page->settings() = *settings;
        page->setLines(lines);
        page->setModified(false);
        window->setCommandEnabled(Command::Save, false);
        return page;
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
