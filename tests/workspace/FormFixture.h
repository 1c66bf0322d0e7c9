// A main window for tests: no start-up documents, and every question and box answered by the test.
#pragma once

#include "workspace/TForm1.h"
#include "workspace/TTabMemo.h"

#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <memory>

struct FormFixture {
    std::unique_ptr<TForm1> form;
    QStringList questions;
    QStringList messages;
    QStringList errors;
    std::deque<QMessageBox::StandardButton> answers;  // answers to the unsaved-changes question, in turn
    std::deque<QString> saveNames;                    // names the save dialog returns ("" cancels)
    QStringList savePresets;
    QString openName;

    FormFixture()
    {
        form = std::make_unique<TForm1>();
        form->OpenOnShow = false;
        form->ExampleDir = QString(TAVLIX_EXAMPLES_DIR) + "/";
        form->AskSaveChanges = [this](const QString& text) {
            questions << text;
            if (answers.empty())
                return QMessageBox::Abort;
            auto a = answers.front();
            answers.pop_front();
            return a;
        };
        form->AskSaveFileName = [this](const QString& preset) {
            savePresets << preset;
            if (saveNames.empty())
                return QString();
            QString n = saveNames.front();
            saveNames.pop_front();
            return n;
        };
        form->AskOpenFileName = [this] { return openName; };
        form->ShowMessage = [this](const QString& text) { messages << text; };
        form->ShowError = [this](const QString& text) { errors << text; };
        form->AskPdfFileName = [] { return QString(); };
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        (void)QTest::qWaitForWindowActive(form.get());
    }

    TTabMemo* memo() const { return form->ActiveMemo(); }

    // A script page with the given settings and script, as if opened from a file.
    TTabMemo* script(const QStringList& lines, const tavlix::SettingsTexts* settings = nullptr)
    {
        TTabMemo* m = form->Ny("test.tvx");
        if (settings)
            m->Settings = *settings;
        m->SetLines(lines);
        m->Modified = false;
        form->Enable("Gem1", false);
        form->Enable("SbGem", false);
        return m;
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
