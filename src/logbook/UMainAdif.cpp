// The main window's ADIF export of the log view and import into the current book.
#include "logbook/UMain.h"

#include "awards/UThreadUpdatBase.h"
#include "data/AdifLog.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "dataset/Dataset.h"
#include "logbook/LogOperations.h"
#include "logbook/UProgres.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <stdexcept>

namespace {

const QString kImportCaption = QStringLiteral("Pleas Wait 1 - 35 min !!!");

// Every way out of an exchange sets the working directory back to the data folder.
struct BackHome {
    ~BackHome() { QDir::setCurrent(ProgramFolder); }
};

[[noreturn]] void fileFailed(const QFile& file) {
    throw std::runtime_error((file.fileName() + QStringLiteral(": ") + file.errorString()).toStdString());
}

// A gauge repainted at most twenty times a second: a walk of 100 000 contacts would otherwise
// spend its time painting.
class Throttle {
public:
    Throttle() { clock_.start(); }
    bool due() {
        if (clock_.elapsed() < 50) return false;
        clock_.restart();
        return true;
    }

private:
    QElapsedTimer clock_;
};

// The selected book, whose contacts the log view holds.
int currentBook(int fallback) {
    Dataset* books = DM->TableLogName;
    return books->active() && !books->isEmpty() ? int(books->field(QStringLiteral("Num")).asInteger())
                                                : fallback;
}

} // namespace

void TFMain::LogExportADIFClick() {
    if (!DM->logOpen()) return;
    BackHome backHome;
    FileDialogRequest request;
    request.directory = ProgramFolder;
    request.filter = QStringLiteral("ADIF (*.adi)");
    request.defaultExt = QStringLiteral("adi");
    const QString name = Dialogs::saveFile(request);
    if (name.isEmpty()) return;

    Dataset* log = DM->TableLog;
    std::optional<ProgressWalk> walk;
    walk.emplace(log->recordCount(), ProgressWalk::Options{.hide = this, .detach = DM->DataSourceLog});
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) fileFailed(file);
    Throttle throttle;
    const int written = exportAdif(*log, file, [&](int done) {
        if (throttle.due()) walk->setMain(done);
    });
    if (!file.flush()) fileFailed(file);
    file.close();
    if (file.error() != QFileDevice::NoError) fileFailed(file);
    // The windows are back before the box.
    walk.reset();
    const QString n = QString::number(written), path = QDir::toNativeSeparators(name);
    QString text = Msg(QStringLiteral("Contacts exported: %1, to the file %2.").arg(n, path),
                       QStringLiteral("Экспортировано связей: %1, в файл %2.").arg(n, path));
    // The book holds more than the view: the grid's filter chose what was written.
    if (DM->ConnectionLog
            ->scalar(QStringLiteral("SELECT count(*) FROM Log WHERE LogNameLog = ?"), {currentBook(Tag)})
            .toInt() > written)
        text += Msg(QStringLiteral(" The log filter limited the export to the contacts it shows."),
                    QStringLiteral(" Фильтр журнала ограничил экспорт показанными связями."));
    Dialogs::messageDlg(text, DlgType::Information);
}

void TFMain::LogImportADIFClick() {
    if (!DM->logOpen()) return;
    BackHome backHome;
    FileDialogRequest request;
    request.directory = ProgramFolder;
    request.filter = QStringLiteral("ADIF (*.adi);;All (*)");
    hide();
    struct ShowAgain {
        TFMain* w;
        ~ShowAgain() { w->show(); }
    } showAgain{this};
    const QString name = Dialogs::openFile(request);
    if (name.isEmpty()) {
        Dialogs::messageDlg(QStringLiteral("File not exist"), DlgType::Information);
        return;
    }

    const int book = currentBook(Tag);
    Dataset* log = DM->TableLog;
    const int before = log->recordCount();
    std::optional<AdifImportResult> result;
    QString failure;
    if (QFileInfo::exists(name)) {
        // Titled before the walk shows the window, which would otherwise first show the last walk's title.
        FProgres->setWindowTitle(kImportCaption);
        ProgressWalk walk(500, {.detach = DM->DataSourceLog});
        try {
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly)) fileFailed(file);
            Throttle throttle;
            result = importAdif(*DM->ConnectionLog, *DM->ConnectionDB, file, book,
                                [&](qint64 done, qint64 total, int imported) {
                                    if (!throttle.due()) return;
                                    walk.setMain(total > 0 ? int(done * 500 / total) : 0);
                                    FProgres->setWindowTitle(kImportCaption + QStringLiteral("  ") +
                                                             QString::number(before + imported));
                                });
        } catch (const std::exception& e) {
            // The batches stored before the error stay; the view and the marks follow them below.
            failure = QString::fromStdString(e.what());
        }
    }
    FProgres->setWindowTitle(QStringLiteral("Progress"));
    show();
    log->setFilter(bookFilterText(book));
    log->setFiltered(true);
    log->setSort(QStringLiteral("LogDate, LogTime"));
    log->requery();
    log->last();
    if (!failure.isEmpty()) {
        Dialogs::errorBox(failure);
    } else if (result) {
        const AdifImportResult& r = *result;
        const QString n = QString::number(r.imported), m = QString::number(r.skipped()),
                      d = QString::number(r.duplicates), i = QString::number(r.invalid);
        QString text = Msg(QStringLiteral("Contacts imported: %1. Skipped: %2 (duplicates: %3; incomplete "
                                          "or invalid: %4).")
                               .arg(n, m, d, i),
                           QStringLiteral("Импортировано связей: %1. Пропущено: %2 (дубликатов: %3; "
                                          "неполных или ошибочных: %4).")
                               .arg(n, m, d, i));
        if (r.cut != 0)
            text += Msg(QStringLiteral(" Values shortened to fit: %1."),
                        QStringLiteral(" Значений сокращено по размеру поля: %1."))
                        .arg(r.cut);
        Dialogs::messageDlg(text, DlgType::Information);
    }
    StartAwardRebuild();
}
