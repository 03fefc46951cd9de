#include "controls/IntegerFormat.h"

QString formatInteger(const QString& format, std::int32_t value) {
    if (format.isEmpty()) return QString::number(value);
    QString out;
    bool used = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 1 < format.size()) {
            if (format[i + 1] == u'%') {
                out += u'%';
                ++i;
                continue;
            }
            if (format[i + 1] == u'd' && !used) {
                out += QString::number(value);
                used = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}
