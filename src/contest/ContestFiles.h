#pragma once
// Writing a contest log of the log view: the file dialog, the walk under the progress window
// and the file, shared by the Cabrillo window and the main window's "Save to File" items.

#include "exchange/ContestLog.h"

struct FileDialogRequest;

// Asks for the file with `request`, then writes the rows of the log view in the grid's order.
// False when the dialog was cancelled. An error names the file and is thrown once the progress
// window is closed and the log grid follows its rows again.
bool saveContestFile(ContestLog::Format format, const FileDialogRequest& request,
                     const ContestLog::CabrilloHeader& header = {});
