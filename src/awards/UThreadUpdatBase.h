#pragma once
// The whole-log award rebuild on its worker thread.

// Starts the rebuild of the award marks of every log book.
void StartAwardRebuild();
