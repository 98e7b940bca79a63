// The award marks a stored contact raises.
#include "logbook/UMain.h"

#include "awards/AwardMarks.h"
#include "awards/UAwardAdd.h"
#include "data/UDM.h"

#include <QLineEdit>

void TFMain::UpdateAwardsForQso(const QString& band, const QString& mode, const QString& status,
                                const QString& action) {
    Dataset* log = DM->TableLog;
    auto text = [log](const char* f) { return log->field(QString::fromLatin1(f)).asString(); };
    QList<AwardMarks::AwardItem> items;
    if (action == QLatin1String("save")) {
        items.append({"DXCC",
                      DM->TableDXCC->field(QStringLiteral("Prefix")).asString(),
                      {},
                      {},
                      DM->TablePref->field(QStringLiteral("Country")).asString()});
        items.append({"WAZ", DM->TablePref->field(QStringLiteral("CQZone")).asString(), {}, {}, {}});
        const TFAwardAdd* w = FAwardAdd;
        if (!w->EditUSObl->text().isEmpty())
            items.append(
                {"UkrRus", w->EditUSObl->text(), w->EditUSDXCC->text(), {}, w->EditUSOblName->text()});
        if (!w->EditIOTANum->text().isEmpty())
            items.append({"IOTA", w->EditIOTANum->text(), {}, {}, w->EditIOTAName->text()});
        if (!w->EditWASState->text().isEmpty())
            items.append({"WAS", w->EditWASState->text(), {}, {}, w->EditWASName->text()});
        if (!w->EditUAA->text().isEmpty() || !w->EditUAB->text().isEmpty()) {
            const auto p = AwardMarks::splitComposite(text("LogAwUser1"));
            items.append({"User1", p.a, p.b, p.c, {}});
        }
        if (!w->EditUBA->text().isEmpty() || !w->EditUBB->text().isEmpty()) {
            const auto p = AwardMarks::splitComposite(text("LogAwUser2"));
            items.append({"User2", p.a, p.b, p.c, {}});
        }
    } else if (action == QLatin1String("update")) {
        AwardMarks::StoredQso q;
        q.pref = text("LogPref");
        q.obl = text("LogObl");
        q.awWAZ = text("LogAwWAZ");
        q.awUR = text("LogAwUR");
        q.awIOTA = text("LogAwIOTA");
        q.awWAS = text("LogAwWAS");
        q.awUser1 = text("LogAwUser1");
        q.awUser2 = text("LogAwUser2");
        items = AwardMarks::itemsFromStoredQso(q);
    }
    for (const auto& item : items)
        MarkAwardCell(band, mode, status, item.param1, item.param2, item.param3, item.awName, item.other);
}

void TFMain::MarkAwardCell(const QString& band, const QString& mode, const QString& status,
                           const QString& param1, const QString& param2, const QString& param3,
                           const QString& awName, const QString& other) {
    const int book = int(DM->TableLog->field(QStringLiteral("LogNameLog")).asInteger());
    AwardMarks::markAwardCell(*DM->ConnectionLog, book, {awName, param1, param2, param3, other}, band, mode,
                              status);
}

void TFMain::TakeAwardPart(QString& part) {
    part = AwardMarks::takeAwardPart(CompositeLine);
}
