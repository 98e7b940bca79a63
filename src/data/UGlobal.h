#pragma once
// Shared routines of the windows and the data folder.

#include "platform/DataFolder.h"

#include <QString>
#include <exception>

void RefreshLogTables();
// Re-reads every view of the award marks after they were written behind the views' backs.
void RefreshAwardViews();
void ReportMissingFile(const QString& path, const QString& mode);

// The one rule by which a two-language message picks its text: Russian exactly when the
// settings window's language box reads "Russian" at the moment the message is shown.
bool MessagesInRussian();
QString Msg(const QString& english, const QString& russian);
// The plain sentence the error box puts before a database error's own text: what became of the
// user's work and what to do. Empty for errors whose own text says it already.
QString PlainWordsForError(const std::exception& e);
