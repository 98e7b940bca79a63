#include "contest/ContestFiles.h"

#include "contest/UCabrill.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "dataset/Dataset.h"
#include "dataset/StoredValue.h"
#include "logbook/UMain.h"
#include "logbook/UProgres.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <stdexcept>

namespace {

// Columns of table Log a contest file reads, in the order of ContestLog::Contact.
struct LogColumns {
    explicit LogColumns(const Dataset& log)
        : call(log.fieldIndex("LogCall")), date(log.fieldIndex("LogDate")), time(log.fieldIndex("LogTime")),
          band(log.fieldIndex("LogBand")), mode(log.fieldIndex("LogMode")), txRst(log.fieldIndex("LogTxRst")),
          sent(log.fieldIndex("Log3")), rxRst(log.fieldIndex("LogRxRst")), received(log.fieldIndex("Log2")) {}
    int call, date, time, band, mode, txRst, sent, rxRst, received;
};

ContestLog::Contact contactAt(const Dataset& log, const LogColumns& c, int position) {
    auto text = [&](int field) { return log.valueAt(position, field).toString(); };
    // A contact kept without its own time still belongs in the file: its date's time of day stands in.
    QTime time = StoredValue::timeOf(log.valueAt(position, c.time));
    if (!time.isValid()) time = StoredValue::dateTimeOf(log.valueAt(position, c.date)).time();
    return {text(c.call),
            StoredValue::dateOf(log.valueAt(position, c.date)),
            time,
            text(c.band),
            text(c.mode),
            text(c.txRst),
            text(c.sent),
            text(c.rxRst),
            text(c.received)};
}

void writeView(QFile& file, ContestLog::Format format, const ContestLog::CabrilloHeader& header) {
    Dataset& log = *DM->TableLog;
    const int rows = log.recordCount();
    ProgressWalk walk(rows, {.detach = DM->DataSourceLog});
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error(file.errorString().toStdString());
    const LogColumns columns(log);
    ContestLog::Writer writer(file, format, FConfig->MaskEditC->text());
    writer.header(header);
    for (int i = 0; i < rows; ++i) {
        writer.contact(contactAt(log, columns, i));
        walk.stepMain();
    }
    writer.end();
    if (!file.flush()) throw std::runtime_error(file.errorString().toStdString());
}

FileDialogRequest contestRequest(const QString& filter, const QString& ext) {
    FileDialogRequest r;
    r.caption = QStringLiteral("Contest");
    r.filter = filter;
    r.defaultExt = ext;
    return r;
}

} // namespace

bool saveContestFile(ContestLog::Format format, const FileDialogRequest& request,
                     const ContestLog::CabrilloHeader& header) {
    const QString name = Dialogs::saveFile(request);
    if (name.isEmpty()) return false;
    // The dialog may have moved the working directory; every way out after it goes back.
    struct BackHome {
        ~BackHome() { QDir::setCurrent(ProgramFolder); }
    } backHome;
    QFile file(name);
    try {
        writeView(file, format, header);
    } catch (const std::exception& e) {
        throw std::runtime_error((QDir::toNativeSeparators(name) + QStringLiteral(": ")).toStdString() +
                                 e.what());
    }
    return true;
}

void TFMain::SaveContestCabriloClick() {
    FCabrillo->ShowModal();
}

void TFMain::SaveContestTextClick() {
    if (!DM->logOpen()) return;
    if (saveContestFile(ContestLog::Format::Text,
                        contestRequest(QStringLiteral("Text (*.txt);;All (*)"), "txt")))
        Dialogs::messageDlg(QStringLiteral("OK!"), DlgType::Information);
}

void TFMain::SaveContestExcelClick() {
    if (!DM->logOpen()) return;
    if (saveContestFile(ContestLog::Format::Csv,
                        contestRequest(QStringLiteral("Excel (*.csv);;All (*)"), "csv")))
        Dialogs::messageDlg(QStringLiteral("OK!"), DlgType::Information);
}
