// The award status of the typed call, shown on the per-band award labels.
#include "logbook/UMain.h"

#include "awards/AwardMarks.h"
#include "contest/UContst.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "widgets/BoxColour.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>

namespace {

// The band cells the labels show, in the order of each family of labels.
const char* const kLabelCells[] = {"Band18", "Band35", "Band70", "Band10",  "Band14",  "Band180", "Band21",
                                   "Band24", "Band28", "Band50", "BandSat", "Band144", "Band430", "Band1260"};

const QColor kConfirmed{255, 0, 0};
const QColor kWorked{0, 128, 0};

// The awards whose status is shown: their label family and the contest window's caption for them.
struct ShownAward {
    const char* name;
    const char* contestCaption;
    QList<QLabel*> TFMain::*labels;
};
const ShownAward kShownAwards[] = {{"DXCC", " DXCC ", &TFMain::LabelDX},
                                   {"WAZ", " WAZ ", &TFMain::LabelWAZ},
                                   {"IOTA", " IOTA ", &TFMain::LabelIOTA},
                                   {"UkrRus", " Ukr Rus & ... ", &TFMain::LabelUR}};

const ShownAward* shownAward(const QString& awName) {
    for (const ShownAward& a : kShownAwards)
        if (awName == QLatin1String(a.name)) return &a;
    return nullptr;
}

} // namespace

void TFMain::ShowAwardStatus(const QString& Param1, const QString& Param2, const QString& Param3,
                             const QString& AwName) {
    const qint64 book =
        DM->TableLog->isEmpty() ? 0 : DM->TableLog->field(QStringLiteral("LogNameLog")).asInteger();
    // A null key reads as the empty text: the row is found by its key, null or empty alike.
    Dataset* marks = DM->TableAwMixed;
    const qint64 row =
        DM->logOpen() && !marks->isEmpty()
            ? AwardMarks::findAwardRow(*DM->ConnectionLog, book, {AwName, Param1, Param2, Param3, {}})
            : 0;
    if (marks->bookmarkValid(row)) marks->gotoBookmark(row);
    auto text = [marks](const char* f) { return marks->field(QString::fromLatin1(f)).asString(); };
    // A call whose item could not be placed (empty key) is never shown as worked.
    const bool found = !Param1.isEmpty() && marks->recordCount() > 0 && text("AwName") == AwName &&
                       text("Param1") == Param1 && text("Param2") == Param2 && text("Param3") == Param3 &&
                       marks->field(QStringLiteral("LogNameLog")).asInteger() == book;
    if (found) {
        FCont->ShowAwardCells(true);
        if (const ShownAward* award = shownAward(AwName)) {
            if (FCont->GroupBoxAwName->title() == QLatin1String(award->contestCaption)) {
                Dataset* stats = DM->TableContestStatistic;
                ContestItemFound = stats->bookmarkValid(row);
                if (ContestItemFound) stats->gotoBookmark(row);
                if (ContestBegin->isChecked()) ShowLastQsoInContest();
            }
            const QList<QLabel*>& labels = this->*(award->labels);
            for (int i = 0; i < labels.size(); ++i) {
                const QString cell = text(kLabelCells[i]);
                if (cell == QLatin1String("cfm"))
                    setTextColour(labels[i], kConfirmed);
                else if (cell == QLatin1String("wkd"))
                    setTextColour(labels[i], kWorked);
            }
        }
    }
    if (!ContestItemFound) FCont->ShowAwardCells(false);
}
