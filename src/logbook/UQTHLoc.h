#pragma once
// The locator tool: converts between a Maidenhead locator and coordinates for two stations and
// shows the distance and bearing between them.

#include "widgets/TForm.h"

struct GeoPos;

class QLabel;
class QLineEdit;
class QPushButton;
class QGroupBox;

class TFQTHLoc : public TForm {
    Q_OBJECT
public:
    explicit TFQTHLoc(QWidget* parent = nullptr);

    QGroupBox* GroupBoxMy = nullptr;
    QGroupBox* GroupBoxCall = nullptr;
    QLineEdit* EditMy = nullptr;
    QLineEdit* EditCall = nullptr;
    QLineEdit* EditMyLong = nullptr;
    QLineEdit* EditMyLat = nullptr;
    QLineEdit* EditCallLong = nullptr;
    QLineEdit* EditCallLat = nullptr;
    QLabel* LabeAz = nullptr;
    QLabel* LabelR = nullptr;
    QPushButton* ButtonLocToCoord = nullptr;
    QPushButton* ButtonCoordToLoc = nullptr;
    QPushButton* ButtonClear = nullptr;
    QPushButton* ButtonExit = nullptr;

    // ">>": locators to coordinates, then distance and bearing.
    void ButtonLocToCoordClick();
    // "<<": coordinates to locators, then distance and bearing.
    void ButtonCoordToLocClick();
    void ButtonClearClick();
    void ButtonExitClick();

private:
    void clearResult();
    void showResult(GeoPos my, GeoPos call);
    void markSameLocator();
    void warn(const QString& text);
};

extern TFQTHLoc* FQTHLoc;
