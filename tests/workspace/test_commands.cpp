// Commands that open dialogs or act on graph pages: coordinates, printing at once, the text tool, the about box.
#include "FormFixture.h"

#include "workspace/CoordinatesDialog.h"
#include "workspace/TAboutBox.h"
#include "workspace/TFindDialog.h"

#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void coordinatesConfirmedMarkTheDocument_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("OK") << true;
        QTest::newRow("cancel") << false;
    }

    void coordinatesConfirmedMarkTheDocument()
    {
        QFETCH(bool, confirm);
        FormFixture f;
        auto* dialog = f.form->findChild<CoordinatesDialog*>();
        QVERIFY(dialog);
        TTabMemo* m = f.script({"a"});
        QVERIFY(!f.form->IsEnabled("Gem1"));
        QTimer::singleShot(200, dialog, [&] {
            dialog->field(tavlix::Setting::Tmax)->setText("20");
            dialog->findChild<QPushButton*>(confirm ? "okButton" : "cancelButton")->click();
        });
        f.form->Action("Koord1")->trigger();
        QCOMPARE(m->Modified, confirm);
        QCOMPARE(f.form->IsEnabled("Gem1"), confirm);
        QCOMPARE(m->Settings[9], std::string(confirm ? "20" : "10"));
    }

    // Without a printer the print goes to a PDF file the user names; a cancelled name prints nothing.
    void printAtOnceWithoutPrinter()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("a printer is installed here");
        FormFixture f;
        f.script({"Konstanter", "  a = 1"});
        QTemporaryDir dir;
        int asked = 0;
        QString target;
        f.form->AskPdfFileName = [&] {
            ++asked;
            return target;
        };
        f.form->SbPrintClick();
        QCOMPARE(asked, 1);
        target = dir.filePath("udskrift.pdf");
        f.form->SbPrintClick();
        QCOMPARE(asked, 2);
        QVERIFY(FileBytes(target).startsWith("%PDF"));
        QVERIFY(f.errors.isEmpty());
    }

    void textToolShowsEdit1UntilThePageChanges()
    {
        FormFixture f;
        f.script({});
        f.form->LavGraf("g-1");
        QVERIFY(f.form->Edit1->isHidden());
        f.form->Action("SbTekst")->trigger();
        QVERIFY(!f.form->Edit1->isHidden());
        QTRY_VERIFY(f.form->Edit1->hasFocus());
        // Focus in the text box is outside every page: the graph page's commands stay.
        QVERIFY(f.form->IsEnabled("Tekst1"));
        f.form->Edit1->setText("maksimum");
        f.form->ActivatePage(f.form->Page(0));
        QVERIFY(f.form->Edit1->isHidden());
        QCOMPARE(f.form->Edit1->text(), QString());
    }

    // The menu keys reach their commands from the editor, each once.
    void keyboard()
    {
        FormFixture f;
        TTabMemo* m = f.script({"TabelVariable", "  t"});
        m->Settings[10] = std::string(1, '4');
        m->Editor->setFocus();
        QTest::keyClick(m->Editor, Qt::Key_B, Qt::ControlModifier);
        QVERIFY(f.form->FindDialog1->isVisible());
        f.form->FindDialog1->hide();
        f.form->activateWindow();
        m->Editor->setFocus();
        QTest::keyClick(m->Editor, Qt::Key_F9);
        QCOMPARE(f.form->PageCount(), 2);
        QCOMPARE(f.form->ActivePage()->Tag, 2);
        QTest::keyClick(f.form.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(f.form->PageCount(), 3);
        QCOMPARE(f.form->ActivePage()->Caption(), QString("(Uden navn - 3)"));
    }

    void aboutBox()
    {
        TAboutBox box;
        QCOMPARE(box.windowTitle(), QString("About"));
        QCOMPARE(box.size(), QSize(298, 213));
        auto* ok = box.findChild<QPushButton*>("OKButton");
        QVERIFY(ok);
        QCOMPARE(ok->text(), QString("OK"));
        QVERIFY(ok->isDefault());
        QTimer::singleShot(100, ok, &QPushButton::click);
        QCOMPARE(box.exec(), int(QDialog::Accepted));
    }

    void titleAndMenus()
    {
        FormFixture f;
        QCOMPARE(f.form->windowTitle(), QString("Tavlix"));
        const QList<QPair<const char*, QString>> items = {
            {"Ny1", "&Ny"},           {"bn1", QString::fromUtf8("Å&bn ...")}, {"GemSom1", "Gem &Som ..."},
            {"Luk1", "&Luk blad"},    {"Stind2", QString::fromUtf8("Sæt i&nd")}, {"Sg2", QString::fromUtf8("&Søg ...")},
            {"Run1", "&Kør"},         {"Koord1", "K&oordinater ..."},          {"Tilpas1", "Tilpas &graf ..."},
            {"Ryd1", "Ry&d"},
        };
        for (const auto& [name, text] : items)
            QCOMPARE(f.form->Action(name)->text(), text);
        const QList<QPair<const char*, QString>> keys = {
            {"Ny1", "Ctrl+N"}, {"bn1", "Ctrl+O"}, {"Gem1", "Ctrl+S"}, {"Print1", "Ctrl+P"}, {"Ryd2", "Ctrl+Del"},
            {"Sg2", "Ctrl+B"}, {"Run1", "F9"},    {"Koord1", "F8"},   {"Marker1", "Ctrl+A"},
        };
        for (const auto& [name, key] : keys)
            QCOMPARE(f.form->Action(name)->shortcut(), QKeySequence(key));
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
