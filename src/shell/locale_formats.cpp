#include "locale_formats.h"

namespace mokuro {

DateFormats LocaleDateFormats(const QLocale& locale) {
  DateFormats formats;
  formats.shortDate = locale.dateFormat(QLocale::ShortFormat).toLocal8Bit().toStdString();
  formats.amText = locale.amText().toLocal8Bit().toStdString();
  formats.pmText = locale.pmText().toLocal8Bit().toStdString();
  formats.longTime = PlainLongTime(locale.timeFormat(QLocale::LongFormat).toLocal8Bit().toStdString(), formats.amText,
                                   formats.pmText);
  return formats;
}

DateFormats SystemDateFormats() { return LocaleDateFormats(QLocale::system()); }

}  // namespace mokuro
