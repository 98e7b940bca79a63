#include "awards/UThreadUpdatBase.h"

#include "awards/AwardRebuild.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "logbook/UProgres.h"
#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <memory>

TThreedUpdatBase::TThreedUpdatBase(const QString& logFile, const QString& referenceFile, QObject* parent)
    : QThread(parent), logFile_(logFile), referenceFile_(referenceFile) {}

void TThreedUpdatBase::run() {
    QString error;
    try {
        // Connections of this thread only: a database connection belongs to the thread that opened it.
        Connection log(QStringLiteral("rebuildLog"));
        Connection reference(QStringLiteral("rebuildReference"));
        log.openFile(logFile_);
        reference.openFile(referenceFile_);
        AwardRebuild::Progress progress;
        progress.pass1 = [this](int p) { emit pass1Position(p); };
        progress.pass2Start = [this](int n) { emit pass2Started(n); };
        progress.pass2 = [this](int p) { emit pass2Position(p); };
        AwardRebuild::rebuild(log, reference, progress);
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
        if (error.isEmpty()) error = QStringLiteral("The award rebuild failed.");
    }
    emit ended(error);
}

namespace {

// One running rebuild: its worker, the progress walk that hides and restores the windows, and
// the object in the GUI thread that receives the notices.
struct RebuildRun {
    std::unique_ptr<QObject> receiver;
    std::unique_ptr<TThreedUpdatBase> worker;
    std::unique_ptr<ProgressWalk> walk;
    Qt::WindowModality modality = Qt::NonModal;
};

std::unique_ptr<RebuildRun> current;

void endRebuild(const QString& error) {
    if (!current) return;
    std::unique_ptr<RebuildRun> run = std::move(current);
    run->worker->wait();
    // Hides the progress window, attaches the grid, zeroes the gauges, shows the main window.
    run->walk.reset();
    FProgres->setWindowModality(run->modality);
    Dialogs::guarded([] {
        // The worker wrote behind the views' backs: contacts and marks are read again.
        RefreshLogTables();
        DM->TableLog->last();
        FMain->ButtonClearClick();
    });
    if (!error.isEmpty())
        Dialogs::errorBox(Msg(QStringLiteral("The award marks were not rebuilt and stay as they were: "),
                              QStringLiteral("Отметки дипломов не обновлены и остались прежними: ")) +
                          error);
    // The receiver may be delivering this very notice: it goes once the notice is done.
    run->receiver.release()->deleteLater();
}

} // namespace

void StartAwardRebuild() {
    if (current || !DM->logOpen() || !DM->referenceOpen()) return;
    int total = 0;
    if (!Dialogs::guarded([&] { total = AwardRebuild::countContacts(*DM->ConnectionLog); })) return;

    auto run = std::make_unique<RebuildRun>();
    run->receiver = std::make_unique<QObject>();
    run->worker =
        std::make_unique<TThreedUpdatBase>(DM->ConnectionLog->fileName(), DM->ConnectionDB->fileName());
    // While the worker writes, no other window may reach the log: the progress window blocks them all.
    run->modality = FProgres->windowModality();
    FProgres->setWindowModality(Qt::ApplicationModal);
    FProgres->setWindowTitle(QStringLiteral("Update ") + QString::number(total) + QStringLiteral(" QSOs"));
    run->walk = std::make_unique<ProgressWalk>(total, ProgressWalk::Options{FMain, DM->DataSourceLog});

    QObject* to = run->receiver.get();
    TThreedUpdatBase* w = run->worker.get();
    ProgressWalk* walk = run->walk.get();
    QObject::connect(
        w, &TThreedUpdatBase::pass1Position, to, [walk](int p) { walk->setMain(p); }, Qt::QueuedConnection);
    QObject::connect(
        w, &TThreedUpdatBase::pass2Started, to, [walk](int n) { walk->setDop(0, n); }, Qt::QueuedConnection);
    QObject::connect(
        w, &TThreedUpdatBase::pass2Position, to,
        [walk](int p) { walk->setDop(p, FProgres->GaugeDop->maximum()); }, Qt::QueuedConnection);
    QObject::connect(
        w, &TThreedUpdatBase::ended, to, [](const QString& e) { endRebuild(e); }, Qt::QueuedConnection);
    current = std::move(run);
    w->start();
}

bool AwardRebuildRunning() {
    return current != nullptr;
}

void FinishAwardRebuild() {
    if (!current) return;
    current->worker->wait();
    // The notices still queued, in the order they were sent; the last one ends the run.
    QCoreApplication::sendPostedEvents(current->receiver.get(), QEvent::MetaCall);
    if (current) endRebuild(QString());
}
