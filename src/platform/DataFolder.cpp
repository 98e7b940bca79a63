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
    // Only the relative part is written with "\"; the folder's own name stays as it is.
    QString rel = nativeRelative(relative);
    if (rel.startsWith('/')) rel.remove(0, 1);
    return ProgramFolder.isEmpty() ? "/" + rel : ProgramFolder + "/" + rel;
}
