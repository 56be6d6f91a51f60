#pragma once

#include <QLocale>

#include "date_text.h"

namespace mokuro {

// The locale's short date format, its long time format as the program writes the time
// (without time zone or words of the locale), and its AM and PM texts, in the system code
// page.
DateFormats LocaleDateFormats(const QLocale& locale);

// Those of the user's locale.
DateFormats SystemDateFormats();

}  // namespace mokuro
