#include "report/ReportFonts.h"

#include <QFont>
#include <QStringList>

void installReportFonts() {
    const QStringList cjk{QStringLiteral("WenQuanYi Micro Hei"),
                          QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), cjk);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), cjk);
}
