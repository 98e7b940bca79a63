#pragma once
// The awards window: the marks of the current log book for one award at a time, the band
// columns the band box picks, a prefix filter, the saved query of "Details", and the count of
// worked or confirmed items per band and mode.

#include "widgets/TForm.h"

#include <QList>

class DBGrid;
class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;

class TFAwards : public TForm {
    Q_OBJECT
public:
    explicit TFAwards(QWidget* parent = nullptr);

    QMenuBar* MainMenu = nullptr;
    QMenu* AwMenu = nullptr;
    QAction* AwMenuDXCC = nullptr;
    QAction* AwMenuWAZ = nullptr;
    QAction* AwMenuIOTA = nullptr;
    QAction* AwMenuUR = nullptr;
    QAction* WAS1 = nullptr;
    QAction* AwMenuUserA = nullptr;
    QAction* AwMenuUserB = nullptr;
    DBGrid* DBGridAwStatistic = nullptr;
    QComboBox* ComboBoxBand = nullptr;
    QLineEdit* EditFilter = nullptr;
    QPushButton* ButtonDetails = nullptr;
    QPushButton* ButtonWC = nullptr;
    QPushButton* ButtonClose = nullptr;
    QLabel* LabelWC = nullptr;
    QLabel* LabelAwName = nullptr;
    QLabel* LabelTotal = nullptr;
    // The count labels: per band (1.8 ... 1260) the modes CW, SSB, RTTY, PSK, Other, then the
    // five mode totals LabelTC ... LabelTO.
    QList<QList<QLabel*>> CountLabels;
    QList<QLabel*> TotalLabels;

    void AwMenuDXCCClick();
    void AwMenuWAZClick();
    void AwMenuIOTAClick();
    void AwMenuURClick();
    void WAS1Click();
    void AwMenuUserAClick();
    void AwMenuUserBClick();
    void ComboBoxBandChange();
    void EditFilterChange();
    void ButtonWCClick();
    // The count's captions ("Worked"/"Confirm", "Total worked N") in the caption language.
    void ShowCountCaptions();
    void ButtonDetailsClick();
    void FormClose();
    void ApplyBandColumns();

    // One award of the menu (defined with the window's table of awards).
    struct Award;

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    enum class Count { Worked, Confirmed };

    void buildMenu();
    void buildGridColumns();
    QWidget* buildCountPanel();
    void showAward(const Award& award);
    const Award* checkedAward() const;
    void setCounts(const QList<int>& cells, const QList<int>& totals);

    // The count the next press of ButtonWC shows, which its caption names.
    Count nextCount_ = Count::Worked;
    bool counted_ = false;
    int total_ = 0;
    QString runTimeCaption(const QString& object, const QString& design) const;
};

extern TFAwards* FAwards;
