#include "logbook/UQTHLoc.h"

#include "logbook/QthLocator.h"
#include "platform/Dialogs.h"
#include "platform/NumberText.h"

#include "widgets/Controls.h"
#include "widgets/UpperCase.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFQTHLoc* FQTHLoc = nullptr;

namespace {

// Both warnings are Russian whatever the language setting.
const QString LocatorWarning = QStringLiteral("Допущена ошибка при вводе QTH-локатора! \n"
                                              "QTH-локатор должен быть введен по образцу AA99XX");
const QString CoordinatesWarning =
    QStringLiteral("Допущена ошибка при вводе координат! \n"
                   "Возможно вместо запятой стоит точка или введено буквенное значение\n"
                   "Координаты должны быть введен по образцу 45,23 или -23,34");

std::optional<GeoPos> readPosition(const QString& lonText, const QString& latText) {
    GeoPos p;
    if (!NumberText::toFloat(lonText, p.lon) || !NumberText::toFloat(latText, p.lat)) return std::nullopt;
    return p;
}

} // namespace

TFQTHLoc::TFQTHLoc(QWidget* parent) : TForm(QStringLiteral("FQTHLoc"), parent) {
    setWindowTitle(QStringLiteral("QTH Loc"));

    const auto makeStation = [this](QGroupBox*& group, const QString& groupName, const QString& caption,
                                    QLineEdit*& loc, const QString& locName, QLineEdit*& lon,
                                    const QString& lonName, QLineEdit*& lat, const QString& latName) {
        group = newGroup(this, groupName, caption);
        loc = newEdit(group, locName, {}, 6);
        makeUpperCase(loc);
        lon = newEdit(group, lonName, {}, 7);
        lon->setPlaceholderText(QStringLiteral("Longitude"));
        lat = newEdit(group, latName, {}, 7);
        lat->setPlaceholderText(QStringLiteral("Latitude"));
        auto* row = new QHBoxLayout(group);
        row->addWidget(loc);
        row->addWidget(lon);
        row->addWidget(lat);
    };
    makeStation(GroupBoxMy, QStringLiteral("GroupBoxMy"), QStringLiteral("My QTH Loc"), EditMy,
                QStringLiteral("EditMy"), EditMyLong, QStringLiteral("EditMyLong"), EditMyLat,
                QStringLiteral("EditMyLat"));
    makeStation(GroupBoxCall, QStringLiteral("GroupBoxCall"), QStringLiteral("QTH Loc"), EditCall,
                QStringLiteral("EditCall"), EditCallLong, QStringLiteral("EditCallLong"), EditCallLat,
                QStringLiteral("EditCallLat"));

    const auto makeButton = [this](const QString& name, const QString& caption, void (TFQTHLoc::*handler)()) {
        QPushButton* b = newButton(this, name, caption);
        connect(b, &QPushButton::clicked, this,
                [this, handler] { Dialogs::guarded([this, handler] { (this->*handler)(); }); });
        return b;
    };
    ButtonLocToCoord = makeButton(QStringLiteral("ButtonLocToCoord"), QStringLiteral(">>"),
                                  &TFQTHLoc::ButtonLocToCoordClick);
    ButtonCoordToLoc = makeButton(QStringLiteral("ButtonCoordToLoc"), QStringLiteral("<<"),
                                  &TFQTHLoc::ButtonCoordToLocClick);
    ButtonClear =
        makeButton(QStringLiteral("ButtonClear"), QStringLiteral("Clear"), &TFQTHLoc::ButtonClearClick);
    ButtonExit = makeButton(QStringLiteral("ButtonExit"), QStringLiteral("EXIT"), &TFQTHLoc::ButtonExitClick);

    auto* labelAzCaption = newLabel(this, QStringLiteral("LabelAzCaption"), QStringLiteral("Azimuth      :"));
    auto* labelRCaption = newLabel(this, QStringLiteral("LabelRCaption"), QStringLiteral("Distance     :"));
    LabeAz = newLabel(this, QStringLiteral("LabeAz"), QStringLiteral("0"));
    LabelR = newLabel(this, QStringLiteral("LabelR"), QStringLiteral("0"));

    auto* convert = new QHBoxLayout;
    convert->addStretch();
    convert->addWidget(ButtonLocToCoord);
    convert->addWidget(ButtonCoordToLoc);
    convert->addStretch();

    auto* results = new QGridLayout;
    results->addWidget(labelAzCaption, 0, 0);
    results->addWidget(LabeAz, 0, 1);
    results->addWidget(labelRCaption, 1, 0);
    results->addWidget(LabelR, 1, 1);
    results->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonClear);
    buttons->addStretch();
    buttons->addWidget(ButtonExit);

    auto* main = new QVBoxLayout(this);
    main->addWidget(GroupBoxMy);
    main->addLayout(convert);
    main->addWidget(GroupBoxCall);
    main->addLayout(results);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void TFQTHLoc::clearResult() {
    LabeAz->clear();
    LabelR->clear();
}

void TFQTHLoc::showResult(GeoPos my, GeoPos call) {
    const DistAz r = DistanceAzimuth(my, call);
    LabelR->setText(NumberText::fromFloat(r.distance));
    LabeAz->setText(NumberText::fromFloat(r.azimuth));
}

void TFQTHLoc::markSameLocator() {
    // The distance to oneself is shown as "-0" so it is not read as a computed result.
    if (EditCall->text() != EditMy->text()) return;
    LabeAz->setText(QStringLiteral("-0"));
    LabelR->setText(QStringLiteral("-0"));
}

void TFQTHLoc::ButtonLocToCoordClick() {
    const auto station = [this](QLineEdit* loc, QLineEdit* lon, QLineEdit* lat) -> std::optional<GeoPos> {
        const std::optional<GeoPos> p = LocatorToCoord(loc->text());
        if (!p) return std::nullopt;
        lon->setText(coordinateText(p->lon));
        lat->setText(coordinateText(p->lat));
        clearResult();
        return p;
    };
    GeoPos my, call;
    if (!EditMy->text().isEmpty()) {
        const auto p = station(EditMy, EditMyLong, EditMyLat);
        if (!p) return warn(LocatorWarning);
        my = *p;
    }
    if (!EditCall->text().isEmpty()) {
        const auto p = station(EditCall, EditCallLong, EditCallLat);
        if (!p) return warn(LocatorWarning);
        call = *p;
    }
    if (!EditMy->text().isEmpty() && !EditCall->text().isEmpty()) showResult(my, call);
    markSameLocator();
}

void TFQTHLoc::ButtonCoordToLocClick() {
    const auto filled = [](QLineEdit* lon, QLineEdit* lat) {
        return !lon->text().isEmpty() && !lat->text().isEmpty();
    };
    const auto station = [this](QLineEdit* loc, QLineEdit* lon, QLineEdit* lat) -> std::optional<GeoPos> {
        const std::optional<GeoPos> p = readPosition(lon->text(), lat->text());
        if (!p) return std::nullopt;
        const std::optional<QString> locator = CoordToLocator(p->lon, p->lat);
        if (!locator) return std::nullopt;
        loc->setText(*locator);
        clearResult();
        return p;
    };
    const bool myFilled = filled(EditMyLong, EditMyLat);
    const bool callFilled = filled(EditCallLong, EditCallLat);
    GeoPos my, call;
    if (myFilled) {
        const auto p = station(EditMy, EditMyLong, EditMyLat);
        if (!p) return warn(CoordinatesWarning);
        my = *p;
    }
    if (callFilled) {
        const auto p = station(EditCall, EditCallLong, EditCallLat);
        if (!p) return warn(CoordinatesWarning);
        call = *p;
    }
    if (myFilled && callFilled) showResult(my, call);
    markSameLocator();
}

void TFQTHLoc::ButtonClearClick() {
    for (QLineEdit* e : {EditMy, EditCall, EditCallLat, EditCallLong, EditMyLat, EditMyLong})
        e->clear();
    LabeAz->setText(QStringLiteral("0"));
    LabelR->setText(QStringLiteral("0"));
}

void TFQTHLoc::ButtonExitClick() {
    close();
}

void TFQTHLoc::warn(const QString& text) {
    Dialogs::messageDlg(text, DlgType::Warning, DlgButtons::Ok);
}
