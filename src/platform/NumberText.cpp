#include "platform/NumberText.h"

#include <QRegularExpression>
#include <cmath>

namespace NumberText {

QString fromFloat(double v) {
    if (std::isnan(v) || std::isinf(v)) return QString::number(v);
    // 'g' with 15 digits gives the shortest text of at most 15 significant digits.
    QString s = QString::number(v, 'g', 15);
    if (s.contains('e')) {
        // Keep plain notation for ordinary magnitudes, as the system's texts never use exponents there.
        const double a = std::fabs(v);
        if (a >= 1e-4 && a < 1e15) {
            s = QString::number(v, 'f', 15);
            if (s.contains('.')) {
                while (s.endsWith('0'))
                    s.chop(1);
                if (s.endsWith('.')) s.chop(1);
            }
        }
    }
    if (s == "-0") s = "0";
    s.replace('.', ',');
    return s;
}

bool toFloat(const QString& text, double& out) {
    static const QRegularExpression re(QStringLiteral("^[+-]?(\\d+(,\\d*)?|,\\d+)([eE][+-]?\\d+)?$"));
    const QString t = text.trimmed();
    if (!re.match(t).hasMatch()) return false;
    QString c = t;
    c.replace(',', '.');
    bool ok = false;
    out = c.toDouble(&ok);
    return ok;
}

bool toInt(const QString& text, int& out) {
    static const QRegularExpression re(QStringLiteral("^[+-]?\\d+$"));
    const QString t = text.trimmed();
    if (!re.match(t).hasMatch()) return false;
    bool ok = false;
    out = t.toInt(&ok);
    return ok;
}

} // namespace NumberText
