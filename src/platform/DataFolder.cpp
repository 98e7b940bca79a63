#include "platform/DataFolder.h"

QString ProgramFolder;

QString nativeRelative(const QString& path) {
    QString p = path;
    p.replace('\\', '/');
    while (p.contains(QStringLiteral("//")))
        p.replace(QStringLiteral("//"), QStringLiteral("/"));
    return p;
}

QString programPath(const QString& relative) {
    return nativeRelative(ProgramFolder + "/" + relative);
}
