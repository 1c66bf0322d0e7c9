// Danish throughout: our own buttons and captions, no English word anywhere in the window, and Qt's own texts.
#include "MainWindowFixture.h"

#include "workspace/QtTranslation.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

class DanishTextsTest : public QObject {
    Q_OBJECT
private slots:
    void ownTexts_data()
    {
        QTest::addColumn<QString>("dialog");  // "" for the main window
        QTest::addColumn<QString>("widget");  // "" for the dialog's title
        QTest::addColumn<QString>("text");
        QTest::newRow("about: title") << "aboutDialog"
                                      << ""
                                      << "Om Tavlix";
        QTest::newRow("about: copyright") << "aboutDialog"
                                          << "Copyright" << QString::fromUtf8("Ophavsret © Tavlix-udviklerne");
        QTest::newRow("size: cancel") << "printSizeDialog"
                                      << "cancelButton"
                                      << "Annuller";
        QTest::newRow("size: width unit") << "printSizeDialog"
                                          << "widthUnit"
                                          << "cm";
        QTest::newRow("size: height unit") << "printSizeDialog"
                                           << "heightUnit"
                                           << "cm";
        QTest::newRow("coordinates: cancel") << "coordinatesDialog"
                                             << "cancelButton"
                                             << "Annuller";
        QTest::newRow("find: close") << "findDialog"
                                     << "Cancel"
                                     << "Luk";
    }

    void ownTexts()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, widget);
        QFETCH(QString, text);
        MainWindowFixture f;
        auto* d = f.window->findChild<QDialog*>(dialog);
        QVERIFY(d);
        if (widget.isEmpty()) {
            QCOMPARE(d->windowTitle(), text);
            return;
        }
        QWidget* w = d->findChild<QWidget*>(widget);
        QVERIFY(w);
        QCOMPARE(w->property("text").toString(), text);
    }

    // Every text the user can read in the window and its dialogs: captions, hints and accessible names.
    void noEnglishWordRemains()
    {
        MainWindowFixture f;
        f.script({});
        QStringList texts;
        auto widgetTexts = [&texts](QWidget* w) {
            texts << w->windowTitle() << w->toolTip() << w->accessibleName() << w->accessibleDescription();
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                texts << b->text();
            if (auto* l = qobject_cast<QLabel*>(w))
                texts << l->text();
            if (auto* g = qobject_cast<QGroupBox*>(w))
                texts << g->title();
            if (auto* e = qobject_cast<QLineEdit*>(w))
                texts << e->placeholderText();
        };
        widgetTexts(f.window.get());
        for (QWidget* w : f.window->findChildren<QWidget*>())
            widgetTexts(w);
        for (QAction* a : f.window->findChildren<QAction*>())
            texts << a->text() << a->toolTip() << a->statusTip();
        // Words the program once showed in English, and their near kin.
        static const QRegularExpression English(
            "\\b(Cancel|About|Print|Copyright|Metafile|Close|Open|Save|File|Edit|Help|Yes|No|Width|Height|Size)\\b",
            QRegularExpression::CaseInsensitiveOption);
        for (const QString& t : texts)
            QVERIFY2(!English.match(t).hasMatch(), qPrintable(t));
    }

    // Qt's own dialogs and standard buttons: Danish for a Danish user, left alone for anyone else.
    void qtTranslationFollowsTheLanguage()
    {
        QVERIFY(!installQtTranslation(QLocale(QLocale::English, QLocale::UnitedKingdom)));
        const QString path = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_da.qm";
        if (!QFile::exists(path))
            QSKIP("Qt's Danish translations are not installed (tools/setup.sh installs qt6-translations-l10n)");
        QVERIFY(installQtTranslation(QLocale(QLocale::Danish, QLocale::Denmark)));
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QString("Annuller"));
        // A folder's type in the file dialog, which the catalogue lacks.
        QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms"),
                 QString("Mappe"));
    }
};

QTEST_MAIN(DanishTextsTest)
#include "DanishTextsTest.moc"
