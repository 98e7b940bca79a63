#pragma once
// The whole-log award rebuild on its worker thread, and the GUI side around it: the main window
// hidden, the progress window shown (blocking every other window) with its two gauges, and the
// windows restored at the end, also after an error, which is then shown.

#include <QString>
#include <QThread>

// The worker: opens its own connections to the log and the reference database and runs both
// passes; it touches no window. Its notices reach the GUI thread queued, in order.
class TThreedUpdatBase : public QThread {
    Q_OBJECT
public:
    TThreedUpdatBase(const QString& logFile, const QString& referenceFile, QObject* parent = nullptr);

signals:
    void pass1Position(int position);
    void pass2Started(int maximum);
    void pass2Position(int position);
    // Always the last notice; `error` is empty when the rebuild stood.
    void ended(const QString& error);

protected:
    void run() override;

private:
    QString logFile_, referenceFile_;
};

// Starts a rebuild of every book's award marks (GUI thread; "Refresh All Logs" and the end of
// the ADIF import). Does nothing while one runs or when the log or the reference database is
// not open (their failure was reported at start-up).
void StartAwardRebuild();
// Whether a rebuild runs: from its start until the windows are restored.
bool AwardRebuildRunning();
// Waits for a running rebuild's worker, then applies its pending notices in order, the end
// included, so the windows are restored and the marks re-read when this returns (the exit
// calls it before quitting). Returns at once when none runs.
void FinishAwardRebuild();
