#pragma once
// The settings window: its controls are the settings every other window reads; they are loaded
// from table Cfg at start, stored by "Save", and pushed into the other windows by ApplySettings.
// The caption language (table Language) is applied from here too.

#include "widgets/TForm.h"

#include <QSet>
#include <QString>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QTabWidget;
class QWidget;
class DBGrid;

class TFConfig : public TForm {
    Q_OBJECT
public:
    explicit TFConfig(QWidget* parent = nullptr);
    ~TFConfig() override;

    // --- settings store --------------------------------------------------------------------
    // Stores one setting row keyed (FormName, Object, Name_Param), then re-applies the captions.
    void SaveParam(const QString& FormName, const QString& Object, const QString& Name_Param,
                   const QString& Param, const QString& Prim);
    // Loads every row of Cfg into this window, FTimer and FVihod.
    void LoadSettings();
    // Appends the pick-list items of combo (rows of FormConfig for form's name and combo's name).
    void FillComboFromFormConfig(QWidget* form, QComboBox* combo);
    // Pushes the settings into the other windows.
    void ApplySettings();

    // --- caption language --------------------------------------------------------------------
    void SetLanguage();
    void ApplyLanguage(QWidget* form, const QString& language);
    // A caption the program sets at run time (a count, a state), in the language last applied:
    // the language table's row naming `object` of `form`, else `design`.
    QString RunTimeCaption(const QString& form, const QString& object, const QString& design) const;

    // --- handlers ----------------------------------------------------------------------------
    void FormCreate() override;
    void FormShow();
    void FormClose();
    void ButtonSaveClick();
    void ButtonSaveExitClick();
    void ButtonCloseClick();
    void EditQthLocClick();
    void EditQthLocDblClick();
    void EditDipAChange();
    void EditDipBChange();
    void ComboBoxTRXNameChange();

    // --- log books (page "LOG") -----------------------------------------------------------------
    void DBGrid1MouseUp();
    void ButtonLogNameAddClick();
    void ButtonLogNameEditClick();
    void ButtonLogNameDelClick();
    void ButtonLogAddClick();
    // The number of the book EditLog1 names: the current book when the window was opened
    // (browsing the book grid moves the log view, not the current book).
    qint64 currentBook = 0;

    // --- pages ---------------------------------------------------------------------------------
    QTabWidget* PageControl1;
    QWidget* TabSheetMain;
    QWidget* TabSheetLog;
    QWidget* TabSheetDefault;
    QWidget* TabSheetAwards;
    QWidget* TabSheetDataBase;
    QWidget* TabSheetMedia;
    QWidget* TabSheetExtSoft;
    QWidget* TabSheetFKeyHint;
    QWidget* TabSheetTRX;

    // Page "Main"
    QComboBox* ComboBoxLanguage;
    QLineEdit* MaskEditC;   // own call sign
    QLineEdit* MaskEditN;   // own name
    QLineEdit* MaskEditQ;   // own QTH
    QLineEdit* MaskEditLat; // own latitude
    QLineEdit* MaskEditLon; // own longitude
    QLineEdit* MaskEditT;   // PC clock minus UTC: hours
    QLineEdit* MaskEdit2T;  // ... and minutes
    QLineEdit* EditQthLoc;  // own QTH locator
    QCheckBox* CheckBoxUTC;

    // Page "LOG" (log books)
    QGroupBox* GroupBoxLogName;
    DBGrid* DBGrid1;
    QLineEdit* EditLLogName;
    QLineEdit* EditAboutLog;
    QPushButton* ButtonLogNameAdd;
    QPushButton* ButtonLogNameEdit;
    QPushButton* ButtonLogNameDel;
    QGroupBox* GroupBoxLog1;
    QLineEdit* EditLog1;
    QComboBox* ComboBoxLog2;
    QPushButton* ButtonLogAdd;

    // Page "Default"
    QCheckBox* CheckBoxRxRst;
    QCheckBox* CheckBoxTxRst;
    QCheckBox* CheckBoxInfo;
    QCheckBox* CheckBoxName;
    QCheckBox* CheckBoxQth;
    QCheckBox* CheckBox1D;
    QCheckBox* CheckBox1T;
    QCheckBox* CheckBox1B;
    QCheckBox* CheckBox1M;
    QCheckBox* CheckBox1N;
    QCheckBox* CheckBox1Q;
    QCheckBox* CheckBox1RR;
    QCheckBox* CheckBox1TR;
    QCheckBox* CheckBox1QS;
    QCheckBox* CheckBox1QR;
    QCheckBox* CheckBox1Note;
    QCheckBox* CheckBox1QthLoc;
    QComboBox* ComboBoxBand;
    QComboBox* ComboBoxMode;
    QLineEdit* MaskEditRxR;
    QLineEdit* MaskEditTxR;
    QLineEdit* EditName;
    QLineEdit* EditQth;
    QLineEdit* EditI;

    // Page "Awards"
    QCheckBox* CBDxcc;
    QCheckBox* CBWaz;
    QCheckBox* CBWas;
    QCheckBox* CBIota;
    QCheckBox* CBUkRu;
    QCheckBox* CBDipA;
    QCheckBox* CBDipB;
    QLineEdit* EditDipA;
    QLineEdit* EditDipB;

    // Page "DataBase"
    QCheckBox* CheckBoxInternal;
    QCheckBox* CheckBoxInternalA; // not stored: starts unticked at every start
    QCheckBox* CheckBoxQRZ;
    QCheckBox* CheckBoxVCD;
    QCheckBox* CheckBoxQRZA;
    QCheckBox* CheckBoxVCDA;
    QLineEdit* EditQRZ;
    QLineEdit* EditVCD;
    QCheckBox* CheckBoxAutoIns;

    // Page "Media"
    QCheckBox* CheckBoxAutoAudio;
    QCheckBox* CheckBoxAutoImage;

    // Page "Ext Soft"
    QLineEdit* EditPrDP;
    QLineEdit* EditPrMixW;
    QLineEdit* EditPrMMV;
    QLineEdit* EditPrCT;
    QLineEdit* EditPrTTTY;
    QLineEdit* EditPr1;
    QLineEdit* EditPr2;
    QLineEdit* EditPrNU1;
    QLineEdit* EditPrNU2;

    // Page "F Key Hint"
    QLineEdit* EditF1;
    QLineEdit* EditF2;
    QLineEdit* EditF3;
    QLineEdit* EditF4;
    QLineEdit* EditF5;
    QLineEdit* EditF6;
    QLineEdit* EditF7;
    QLineEdit* EditF8;
    QLineEdit* EditF9;
    QLineEdit* EditF10;
    QLineEdit* EditF11;
    QLineEdit* EditF12;
    QLineEdit* EditMakros1;
    QLineEdit* EditMakros2;
    QLineEdit* EditMakros3;
    QLineEdit* EditMakros4;
    QLineEdit* EditMakros5;
    QLineEdit* EditMakros6;
    QLineEdit* EditMakros7;
    QLineEdit* EditMakros8;
    QLineEdit* EditMakros9;
    QLineEdit* EditMakros10;
    QLineEdit* EditMakros11;
    QLineEdit* EditMakros12;
    QList<QLineEdit*> EditF;      // EditF1 ... EditF12
    QList<QLineEdit*> EditMakros; // EditMakros1 ... EditMakros12

    // Page "TRX"
    QComboBox* ComboBoxTRXName;
    QComboBox* ComboBoxPortTrx;
    QComboBox* ComboBoxBaudRate;

    // Buttons and menu
    QPushButton* ButtonSave;
    QPushButton* ButtonSaveExit;
    QPushButton* ButtonClose;
    QMenuBar* MainMenuConfig;
    QMenu* MenuHelp;
    QAction* MenuHelpHelp;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPageMain(QWidget* page);
    void buildPageLog(QWidget* page);
    void buildPageDefault(QWidget* page);
    void buildPageAwards(QWidget* page);
    void buildPageDataBase(QWidget* page);
    void buildPageMedia(QWidget* page);
    void buildPageExtSoft(QWidget* page);
    void buildPageFKeyHint(QWidget* page);
    void buildPageTRX(QWidget* page);
    void limitBoxesToColumns();
    void connectHandlers();
    void connectBookHandlers();

    void saveAllControls();
    void applyBuiltInTabCaptions(const QString& language);
    void copyCallbookCaptions();
    QString appliedLanguage_;
    void applyAwardsVisibility();
    void applyCallbookSwitch();
    void applyLogGridColumns();
    void applyEntryDefaults();
    void applyTransceiver();
    void copyOwnStationToLocator();
    bool settingsTablesOpen() const;

    qint64 logNameBookmark_ = 0;
    bool afterDoubleClick_ = false;
    int saveDepth_ = 0;            // > 0 while a Save stores its rows
    bool languagePending_ = false; // a SaveParam inside a Save asked for the captions
    // Controls whose stored value could not be read: Save keeps their rows until the user edits them.
    QSet<QString> unreadKeys_;
};

extern TFConfig* FConfig;
