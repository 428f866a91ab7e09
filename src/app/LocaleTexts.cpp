#include "app/LocaleTexts.h"

#include <cmath>

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

namespace trovelin {

namespace {

const QDate epoch(1899, 12, 30);

// The short date and long time formats; the times shown are UTC with no zone of their own, so
// a zone the locale's long time carries is left out.
QString dateTimeFormat()
{
    QString time = QLocale().timeFormat(QLocale::LongFormat);
    time.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return QLocale().dateFormat(QLocale::ShortFormat) + ' ' + time.trimmed();
}

}  // namespace

DateTimeText localeDateTimeText()
{
    // Taken once: a folder of thousands of files formats as many dates.
    const QLocale locale;
    const QString format = dateTimeFormat();
    const bool fourDigitYears = format.contains(QLatin1String("yyyy"));
    DateTimeText text;
    text.format = [locale, format](double value) {
        const double days = std::floor(value);
        const QDate date = epoch.addDays(static_cast<qint64>(days));
        const QTime time = QTime(0, 0).addMSecs(static_cast<int>(std::lround((value - days) * 86400000.0)));
        return locale.toString(QDateTime(date, time, Qt::UTC), format).toStdString();
    };
    text.parse = [locale, format, fourDigitYears](const std::string& value) -> std::optional<double> {
        const QDateTime parsed = locale.toDateTime(QString::fromStdString(value), format);
        if (!parsed.isValid()) return std::nullopt;
        // Two-digit years fall within 50 years of today, as the original platform reads them,
        // not in the 1900s.
        QDate date = parsed.date();
        if (!fourDigitYears && QDate::currentDate().year() - date.year() > 50) date = date.addYears(100);
        return static_cast<double>(epoch.daysTo(date)) + parsed.time().msecsSinceStartOfDay() / 86400000.0;
    };
    return text;
}

char localeThousandsSeparator()
{
    const QString separator = QLocale().groupSeparator();
    return separator.size() == 1 && separator[0].unicode() < 0x80 ? static_cast<char>(separator[0].unicode()) : ',';
}

}  // namespace trovelin
