#pragma once

class QCoreApplication;
class QLocale;

namespace mokuro {

// Qt's own texts (the standard context menus and buttons) in the language of `locale`, as
// far as Qt's translations are installed for it. False when there are none.
bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale);

}  // namespace mokuro
