#include "platform/Digits.h"

namespace platform {

QString asciiDigits(QString text)
{
    for (QChar& c : text) {
        if (c.unicode() >= 0x80 && c.category() == QChar::Number_DecimalDigit)
            c = QChar(u'0' + c.digitValue());
        else if (c == QChar(0x2212))
            c = QLatin1Char('-');
    }
    return text;
}

} // namespace platform
