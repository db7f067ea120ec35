// Qt's own translations, so that the standard buttons of message boxes (the
// Quit box's Yes and No) read in the user's language.
#pragma once

#include <QLocale>

class QCoreApplication;

namespace bocavo {

// Installs Qt's translations for `locale` into `app`; false when none exist.
bool installQtTranslations(QCoreApplication& app, const QLocale& locale);

} // namespace bocavo
