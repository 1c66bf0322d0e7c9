// Qt's own texts in Danish (file, print and message dialogs, standard buttons, edit menus) for a Danish user.
#pragma once

class QLocale;

// Loads Qt's Danish catalogue (qtbase_da, from the qt6-translations-l10n package) into the running application
// when the locale's language is Danish; false when it is another language or the catalogue is not installed.
bool installQtTranslation(const QLocale& locale);
