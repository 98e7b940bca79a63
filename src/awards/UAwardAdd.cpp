#include "awards/UAwardAdd.h"

#include "dataset/QuotedStr.h"
#include "data/UDM.h"
#include "logbook/UMain.h"
#include "platform/Dialogs.h"

#include "widgets/Controls.h"
#include "widgets/UpperCase.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFAwardAdd* FAwardAdd = nullptr;

namespace {

// The first row of a reference table narrowed to one key, or false when none matches.
bool narrowTo(Dataset* table, const QString& filter) {
    table->setFilter(filter);
    table->setFiltered(true);
    table->first();
    return !table->isEmpty();
}

} // namespace

TFAwardAdd::TFAwardAdd(QWidget* parent) : TForm(QStringLiteral("FAwardAdd"), parent) {
    setWindowTitle(QStringLiteral("Awards"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);

    const auto makeGroup = [this](const QString& name, const QString& caption) {
        QGroupBox* g = newGroup(this, name, caption);
        new QGridLayout(g);
        return g;
    };
    // One labelled box in the next column of a group: the label above, the box below.
    const auto addEdit = [](QGroupBox* g, const QString& name, const QString& labelName,
                            const QString& caption, int maxLength = 0) {
        auto* grid = static_cast<QGridLayout*>(g->layout());
        const int column = grid->count() / 2;
        QLabel* label = newLabel(g, labelName, caption);
        QLineEdit* e = newEdit(g, name, {}, maxLength);
        label->setBuddy(e);
        grid->addWidget(label, 0, column);
        grid->addWidget(e, 1, column);
        return e;
    };

    GroupBoxIOTA = makeGroup(QStringLiteral("GroupBoxIOTA"), QStringLiteral(" IOTA "));
    EditIOTANum = addEdit(GroupBoxIOTA, QStringLiteral("EditIOTANum"), QStringLiteral("LabelIOTANum"),
                          QStringLiteral("Number"), 6);
    makeUpperCase(EditIOTANum);
    EditIOTAName = addEdit(GroupBoxIOTA, QStringLiteral("EditIOTAName"), QStringLiteral("LabelIOTAName"),
                           QStringLiteral("Name island"));
    EditIOTADXCC = addEdit(GroupBoxIOTA, QStringLiteral("EditIOTADXCC"), QStringLiteral("LabelIOTADXCC"),
                           QStringLiteral("DXCC"));

    GroupBoxUkrRuss = makeGroup(QStringLiteral("GroupBoxUkrRuss"), QStringLiteral(" Ukr Russ "));
    EditUSObl = addEdit(GroupBoxUkrRuss, QStringLiteral("EditUSObl"), QStringLiteral("LabelUSObl"),
                        QStringLiteral("Obl"));
    EditUSOblName = addEdit(GroupBoxUkrRuss, QStringLiteral("EditUSOblName"),
                            QStringLiteral("LabelUSOblName"), QStringLiteral("Obl name"));
    EditUSDXCC = addEdit(GroupBoxUkrRuss, QStringLiteral("EditUSDXCC"), QStringLiteral("LabelUSDXCC"),
                         QStringLiteral("DXCC"));

    GroupBoxWas = makeGroup(QStringLiteral("GroupBoxWas"), QStringLiteral(" WAS "));
    EditWASState = addEdit(GroupBoxWas, QStringLiteral("EditWASState"), QStringLiteral("LabelWASState"),
                           QStringLiteral("State"), 2);
    makeUpperCase(EditWASState);
    EditWASName = addEdit(GroupBoxWas, QStringLiteral("EditWASName"), QStringLiteral("LabelWASName"),
                          QStringLiteral("State name"));

    GroupBoxUserAwA = makeGroup(QStringLiteral("GroupBoxUserAwA"), QStringLiteral(" User 1 "));
    EditUAA =
        addEdit(GroupBoxUserAwA, QStringLiteral("EditUAA"), QStringLiteral("LabelUAA"), QStringLiteral("A"));
    EditUAB =
        addEdit(GroupBoxUserAwA, QStringLiteral("EditUAB"), QStringLiteral("LabelUAB"), QStringLiteral("B"));
    EditUAC =
        addEdit(GroupBoxUserAwA, QStringLiteral("EditUAC"), QStringLiteral("LabelUAC"), QStringLiteral("C"));

    GroupBoxUserAwB = makeGroup(QStringLiteral("GroupBoxUserAwB"), QStringLiteral(" User 2"));
    EditUBA =
        addEdit(GroupBoxUserAwB, QStringLiteral("EditUBA"), QStringLiteral("LabelUBA"), QStringLiteral("A"));
    EditUBB =
        addEdit(GroupBoxUserAwB, QStringLiteral("EditUBB"), QStringLiteral("LabelUBB"), QStringLiteral("B"));
    EditUBC =
        addEdit(GroupBoxUserAwB, QStringLiteral("EditUBC"), QStringLiteral("LabelUBC"), QStringLiteral("C"));

    Panel1 = newPanel(this, QStringLiteral("Panel1"));
    Button1 = newButton(Panel1, QStringLiteral("Button1"), QStringLiteral("Close"));
    connect(Button1, &QPushButton::clicked, this, [this] { Dialogs::guarded([this] { Button1Click(); }); });
    auto* panelRow = new QHBoxLayout(Panel1);
    panelRow->addStretch();
    panelRow->addWidget(Button1);
    panelRow->addStretch();

    auto* column = new QVBoxLayout(this);
    for (QWidget* w : std::initializer_list<QWidget*>{GroupBoxIOTA, GroupBoxUkrRuss, GroupBoxWas,
                                                      GroupBoxUserAwA, GroupBoxUserAwB, Panel1})
        column->addWidget(w);
    // Groups hidden by the settings take no room.
    column->setSizeConstraint(QLayout::SetFixedSize);

    EditIOTANum->installEventFilter(this);
    EditWASState->installEventFilter(this);
}

bool TFAwardAdd::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        if (watched == EditIOTANum)
            Dialogs::guarded([this] { EditIOTANumKeyUp(); });
        else if (watched == EditWASState)
            Dialogs::guarded([this] { EditWASStateKeyUp(); });
    }
    return TForm::eventFilter(watched, event);
}

void TFAwardAdd::showEvent(QShowEvent* event) {
    if (!centred_) {
        centreOn(this, FMain);
        centred_ = true;
    }
    TForm::showEvent(event);
}

void TFAwardAdd::EditIOTANumKeyUp() {
    const QString num = EditIOTANum->text();
    if (num.size() != 6) {
        EditIOTADXCC->clear();
        EditIOTAName->clear();
        return;
    }
    Dataset* iota = DM->TableIOTA1;
    const bool found = narrowTo(iota, QStringLiteral("Num=") + QuotedStr(num));
    EditIOTAName->setText(found ? iota->field(QStringLiteral("IslandName")).asString() : QString());
    EditIOTADXCC->setText(found ? iota->field(QStringLiteral("PrefDXXC")).asString() : QString());
}

void TFAwardAdd::EditWASStateKeyUp() {
    const QString state = EditWASState->text();
    if (state.size() != 2) {
        EditWASName->clear();
        return;
    }
    Dataset* was = DM->TableWAS;
    const bool found = narrowTo(was, QStringLiteral("State=") + QuotedStr(state));
    EditWASName->setText(found ? was->field(QStringLiteral("Name")).asString() : QString());
}

void TFAwardAdd::Button1Click() {
    hide();
}
