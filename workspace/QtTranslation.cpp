// Qt's own texts in Danish (file, print and message dialogs, standard buttons, edit menus) for a Danish user.
#include "workspace/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <utility>

namespace {

// The few texts the file dialog shows that Qt's Danish catalogue lacks (it has them only under an older context).
class MissingDanishTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                      int /*n*/) const override
    {
        static const std::pair<const char*, const char*> Texts[] = {
            {"Folder", "Mappe"}, {"Drive", "Drev"}, {"Shortcut", "Genvej"}};
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return QString();
        for (const auto& [english, danish] : Texts)
            if (qstrcmp(sourceText, english) == 0)
                return QString::fromUtf8(danish);
        return QString();
    }
};

}  // namespace

bool installQtTranslation(const QLocale& locale)
{
    if (locale.language() != QLocale::Danish)
        return false;
    // Owned by the application, so they live as long as the texts they give.
    auto* catalogue = new QTranslator(QCoreApplication::instance());
    if (!catalogue->load(QStringLiteral("qtbase_da"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(catalogue)) {
        delete catalogue;
        return false;
    }
    QCoreApplication::installTranslator(new MissingDanishTexts(QCoreApplication::instance()));
    return true;
}
