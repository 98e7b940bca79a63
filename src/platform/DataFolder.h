#pragma once
// The data folder: taken once at start-up from the working directory; every database, temporary
// and sound path is this folder followed by a relative path written with "\".

#include <QString>

extern QString ProgramFolder;

// ProgramFolder + a relative path such as "\DB\Work\cfg.mdb", as a path of this system.
QString programPath(const QString& relative);
// A path written with "\" separators as a path of this system (no folder added).
QString nativeRelative(const QString& path);
