#include "support/TempDataFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <stdexcept>

QString TempDataFolder::templatesDir() {
    const QByteArray env = qgetenv("ZELMOR_TEMPLATES");
    return env.isEmpty() ? QStringLiteral(ZELMOR_TEMPLATES_DEFAULT) : QString::fromLocal8Bit(env);
}

TempDataFolder::TempDataFolder(const QString& subPath) {
    if (!dir_.isValid()) throw std::runtime_error("cannot create a temporary folder");
    path_ = subPath.isEmpty() ? dir_.path() : dir_.path() + "/" + subPath;
    QDir().mkpath(path_);
    const QString src = templatesDir();
    QDirIterator it(src, QDir::Files, QDirIterator::Subdirectories);
    int copied = 0;
    while (it.hasNext()) {
        const QString f = it.next();
        const QString rel = QDir(src).relativeFilePath(f);
        QDir().mkpath(QFileInfo(path_ + "/" + rel).path());
        if (!QFile::copy(f, path_ + "/" + rel)) throw std::runtime_error("cannot copy a template file");
        ++copied;
    }
    if (copied == 0)
        throw std::runtime_error("no template databases found: build the zelmor_templates target");
    QDir().mkpath(path_ + "/Temp");
    QDir().mkpath(path_ + "/Sound");
    previousCwd_ = QDir::currentPath();
    QDir::setCurrent(path_);
}

TempDataFolder::~TempDataFolder() {
    QDir::setCurrent(previousCwd_);
}

QString TempDataFolder::file(const QString& relative) const {
    QString r = relative;
    r.replace('\\', '/');
    while (r.startsWith('/'))
        r.remove(0, 1);
    return path_ + "/" + r;
}
