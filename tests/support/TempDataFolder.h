#pragma once
// A temporary data folder seeded from the template databases and made the working directory
// for the life of the object.

#include <QString>
#include <QTemporaryDir>

class TempDataFolder {
public:
    // subPath: an optional folder below the temporary one (long paths, blanks...).
    explicit TempDataFolder(const QString& subPath = QString());
    ~TempDataFolder();
    TempDataFolder(const TempDataFolder&) = delete;
    TempDataFolder& operator=(const TempDataFolder&) = delete;

    QString path() const { return path_; }
    QString file(const QString& relative) const; // relative may use "\" like the program
    static QString templatesDir();

private:
    QTemporaryDir dir_;
    QString path_;
    QString previousCwd_;
};
