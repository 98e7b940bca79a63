#include "support/HostileBytes.h"

#include <QRandomGenerator>

QByteArray randomBytes(qsizetype size, quint32 seed) {
    QByteArray out(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    for (char& c : out)
        c = char(random.bounded(256));
    return out;
}
