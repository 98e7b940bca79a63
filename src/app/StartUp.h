#pragma once
// The program's start: the application object and the 24 objects in their fixed order.

class QApplication;

namespace StartUp {
// Sets the application title and installs the error reporting of events.
void initApplication(QApplication& app);
// Takes the data folder from the working directory and creates the windows and the data module,
// each fully before the next; an error in one creation handler is shown and start-up goes on.
void createObjects();
// Shows the main window.
void showMainWindow();
// Destroys everything createObjects made (tests start the program many times in one process).
void destroyObjects();
} // namespace StartUp
