// "Indsæt data" and "Importér data ...": a table from the clipboard or a file as table lines in the Tabeller section.
#include "workspace/MainWindow.h"

#include "analysis/DataImport.h"
#include "workspace/QtCp1252.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"
#include "workspace/SectionHeaderEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QStringList>

void MainWindow::onPasteData()
{
    insertData(QApplication::clipboard()->text());
}

void MainWindow::onImportData()
{
    const QString path = prompts_.askImportFileName();
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompts_.showError(QString("Kan ikke læse %1").arg(path));
        return;
    }
    insertData(QString::fromUtf8(file.readAll()));
}

void MainWindow::insertData(const QString& text)
{
    ScriptPage* script = activeScriptPage();
    if (!script)
        return;
    const tavlix::ImportedData data = tavlix::DataImport::parse(qt_cp1252::fromQString(text));
    if (!data.ok) {
        prompts_.showMessage(qt_cp1252::toQString(data.error));
        return;
    }
    QStringList lines;
    for (std::size_t c = 0; c < data.columns.size(); ++c) {
        std::string name = data.columns[c].name;
        if (name.empty()) {
            // Without a header the user names each column; an empty answer or Cancel inserts nothing.
            const QString label = QString("Navn på tabellen i kolonne %1:").arg(c + 2);
            const QString answer = prompts_.askText(label);
            name = tavlix::DataImport::validName(qt_cp1252::fromQString(answer));
            if (name.empty())
                return;
        }
        lines << qt_cp1252::toQString(tavlix::DataImport::tableLine(name, data.columns[c]));
    }
    SectionHeaderEdit(*script->editor()->document(), Section::Tables, lines.join('\n')).apply(*script->editor());
    script->editor()->setFocus();
}
