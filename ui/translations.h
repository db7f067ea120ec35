// Qt's own translations, so that the standard buttons of message boxes (the
// Quit box's Yes and No) and Qt's own dialogs (the lab's files and printing)
// read in the program's language. Both programs install them through here.
#pragma once

#include <QLocale>

class QCoreApplication;

namespace bocavo::ui {

// Installs Qt's translations for `locale` into `app`; false when none exist.
bool installQtTranslations(QCoreApplication& app, const QLocale& locale);

} // namespace bocavo::ui
