#pragma once
// The main window: the entry panel, the information panel, the log grid and the extra panel,
// the menu bar and the pop-up menus.

#include <QMainWindow>
#include <memory>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QTimeEdit;
class QTimer;
class DBGrid;

class TFMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFMain(QWidget* parent = nullptr);
    ~TFMain() override;

    // The current log book's number (the framework's Tag of the window).
    int Tag = 0;
    // -1 while a new contact is entered, 0 while a stored one is edited.
    int EntryState = -1;
    // Bookmark of the log row under edit.
    qint64 EditBookmark = 0;
    int RepeatGridMouseFlag = 0;

    // --- creation and frame handlers ---------------------------------------------
    void FormCreate();
    void LogExitClick();
    void LogRefreshClick();
    void ToolsQTHLocClick();
    void ToolsAwardsClick();
    void ToolsSkedsClick();
    void ViewFilterClick();
    void ViewFilterCallClick();
    void ViewImagesViewClick();
    void ViewSoundPlayerClick();
    void ViewSoundTimerClick();
    void ViewSoundAlarmClick();
    void AwardShowModeClick();
    void HelpAboutClick();
    void LogLog1Click(QAction* item);
    void OptionsConfigClick();
    void LogAddClick();
    // Sound buttons and QSL label menus (UMainMedia.cpp).
    void ButtonRecClick();
    void ButtonPlayClick();
    void OptionsQSLLabelClick();
    void TolsPrintQSLClick();
    // The DX-spot and web call-sign look-up windows (UMainInternet.cpp).
    void ToolsDXClusterClick();
    void SearchCallSignalWebClick();

    // Menu items of the log books, built by the data module at start-up.
    QAction* insertLogBookItem(int position, const QString& caption, const QString& name);
    QList<QAction*> logMenuItemsAboveSeparator() const;
    // The menu item of a book by its number (the item's data), or nullptr.
    QAction* logBookItem(qint64 num) const;
    // Takes a deleted book's item out of the menu.
    void removeLogBookItem(qint64 num);

    // --- panels ---------------------------------------------------------------------
    QFrame* PanelIO;
    QFrame* PanelInfo;
    QFrame* PanelGrid;
    QFrame* PanelDop;

    // Entry panel
    QLineEdit* EditCall;
    QLineEdit* EditRSTX;
    QLineEdit* EditRSRX;
    QLineEdit* EditName;
    QLineEdit* EditQTH;
    QTimeEdit* TimePicker;
    QDateEdit* DatePicker;
    QComboBox* ComboBoxBand;
    QComboBox* ComboBoxMode;
    QLineEdit* EditQTHLoc;
    QLineEdit* EditNote;
    QCheckBox* CheckBoxTime;
    QPushButton* ButtonClear;
    QPushButton* ButtonEdit;
    QPushButton* ButtonSave;
    QGroupBox* GroupBoxButtonSound;
    QPushButton* ButtonRec;
    QPushButton* ButtonPlay;
    QLabel* LabelRP;
    QLineEdit* EditNmTx;
    QLineEdit* EditNmRx;
    QLabel* Label32; // "TX"
    QLabel* Label33; // "RX"
    // Captions of the entry boxes; the callbook panel copies four of them.
    QLabel* Label1;  // call sign
    QLabel* Label2;  // RST sent
    QLabel* Label3;  // RST received
    QLabel* Label4;  // name
    QLabel* Label5;  // QTH
    QLabel* Label6;  // time
    QLabel* Label7;  // date
    QLabel* Label8;  // band
    QLabel* Label9;  // mode
    QLabel* Label11; // QTH locator
    QLabel* Label12; // note

    // Information panel
    QGroupBox* GroupBoxInfo;
    QLabel* LabelTime;
    QLabel* LabelDist;
    QLabel* LabelAzD;
    QLabel* LabelAzB;
    QLabel* LabelRegion;
    QLabel* LabelPref;
    QLabel* LabelZoneCQ;
    QLabel* LabelZoneITU;
    QLabel* LabelContinent;
    QLabel* LabelRepCountry;
    QLabel* LabelTerExist;
    QLabel* LabelLastQSO;
    QLabel* LabelH;
    QLabel* LabelM;
    QLabel* LabelS;
    QGroupBox* GroupBoxRepeat;
    DBGrid* DBGridRepeat;
    QGroupBox* GroupBoxDXCC;
    QGroupBox* GroupBoxWAZ;
    QGroupBox* GroupBoxUR;
    QGroupBox* GroupBoxIOTA;
    // The 56 per-band award labels, LabelDX18 ... LabelUR1260, in band order per group.
    QList<QLabel*> LabelDX;
    QList<QLabel*> LabelWAZ;
    QList<QLabel*> LabelIOTA;
    QList<QLabel*> LabelUR;
    QGroupBox* GroupBoxTotal;
    QLabel* LabelQSOs;
    QLabel* LabelDateLogStart;

    // Log grid
    DBGrid* DBGridLog;

    // Extra panel
    QGroupBox* GroupBoxQSL;
    QLineEdit* EditQSLSend;
    QLineEdit* EditQSLRcvd;
    QLabel* LabelObl;
    QLabel* LabelAward;
    QList<QPushButton*> ButtonF; // ButtonF1 ... ButtonF12
    QGroupBox* GroupBoxCallbook;
    QLineEdit* EditCBCall;
    QLineEdit* EditCBName;
    QLineEdit* EditCBQTH;
    QLineEdit* EditCBQTHLoc;
    QLineEdit* EditCBEMail;
    QLineEdit* EditCBNote;
    QLineEdit* MaskEditCBBDay;
    QPushButton* ButtonCBFindZelmor;
    QPushButton* ButtonCBEdit;
    QLabel* Label23;     // call sign (copied from Label1)
    QLabel* Label25;     // QTH locator (copied from Label11)
    QLabel* LabelCBNote; // note (copied from Label12)
    QLabel* LabelCBName; // name (copied from Label4)
    QLabel* LabelCBQTH;
    QLabel* LabelCBEMail;
    QLabel* LabelCBBDay;

    // Pop-up menus
    QMenu* PopupMenuAwardShow;
    QAction* AwardShowMode;
    QMenu* PopupMenuCB; // nullptr while removed from the callbook panel
    QAction* ExpNewCall;
    QAction* ImpNewCall;
    QAction* DelCBCall;
    // Attaches or removes the callbook panel's pop-up menu.
    void setCallbookPopup(bool attached);
    // Empties the callbook panel.
    void ClearCallbookPanel();
    void ButtonCBFindZelmorClick();
    void EditCBCallChange();
    void ButtonCBEditClick();
    void DelCBCallClick();
    void ExpNewCallClick();
    void ImpNewCallClick();
    // The four double clicks: a callbook box into its box of the entry panel.
    void EditCBDblClick(QLineEdit* box);
    // Wires the callbook panel's handlers; run once by the constructor.
    void connectCallbookHandlers();

    // Timers
    QTimer* TimerRealClock;
    QTimer* TimerTimer;

    // --- menu bar -----------------------------------------------------------------------
    QMenuBar* MainMenuLog;
    QMenu* LogMenu;
    QAction* LogLog1; // hidden template item "Log1~"
    QActionGroup* LogBookGroup;
    QAction* LogAdd;
    QMenu* LogImport;
    QAction* LogImportADIF;
    QMenu* LogExport;
    QAction* LogExportADIF;
    QAction* LogRefresh;
    QAction* LogDelete;
    QAction* LogClear;
    QAction* LogExit;

    QMenu* ViewMenu;
    QMenu* ViewSort;
    QAction* ViewSortCall;
    QAction* ViewSortDate;
    QAction* ViewSortBand;
    QAction* ViewSortMode;
    QAction* ViewSortQTH;
    QAction* ViewSortName;
    QAction* ViewSortRcvdQSL;
    QAction* ViewSortSendQSL;
    QAction* ViewFilter;
    QAction* ViewFilterCall;
    QMenu* ViewImages;
    QAction* ViewImagesView;
    QAction* ViewImagesAutoView;
    QMenu* ViewSound;
    QAction* ViewSoundPlayer;
    QAction* ViewSoundAutoSave;
    QAction* ViewSoundTimer;
    QAction* ViewSoundAlarm;

    QMenu* ContestMenu;
    QAction* ContestViewInfo;
    QAction* ContestBegin;
    QAction* ContestEnd;
    QMenu* ContestPrintFile;
    QAction* SaveContestCabrilo;
    QAction* SaveContestText;
    QAction* SaveContestExcel;
    QMenu* ContestPrint;
    QAction* ContestPrintPrinter;

    QMenu* Tools;
    QAction* ToolsQTHLoc;
    QMenu* ToolsAw;
    QAction* ToolsAwards;
    QMenu* ToolsAwFilter;
    QMenu* ToolsInternet;
    QAction* ToolsDXCluster;
    QAction* SearchCallSignalWeb;
    QAction* ToolsSkeds;
    QAction* TolsPrintQSL;
    QMenu* ToolsTimer;
    QAction* TimerStart;
    QAction* TimerStop;
    QAction* TimerStopClear;
    QAction* TimerTotal;
    QAction* TimerQSO;

    QMenu* Programs1;
    QAction* DigiPan1;
    QAction* MixW1;
    QAction* MMVari1;
    QAction* CwType;
    QAction* PrTrueTTY;
    QAction* Pr51;
    QAction* Pr61;

    QMenu* Devices;
    QMenu* DevicesTrx;
    QAction* DeviceTrxControl;
    QAction* DeviceTrxConnect;
    QPushButton* ButtonKenw; // invisible: its click only opens the transceiver's port

    QMenu* Options;
    QAction* OptionsConfig;
    QAction* OptionContestConfig;
    QAction* OptionsQSLLabel;
    QAction* OptionsAutoExit;

    QMenu* Help;
    QAction* HelpHelp;
    QAction* HelpAbout;

    // The entry boxes take no more characters than the log's columns hold (once the log is open).
    void LimitBoxesToColumns();

    // Sizes the window to its contents (at creation and after its captions change language).
    void fitToContents();

    // A named control of this window (objectName), including menu items.
    QObject* findControl(const QString& name) const;

    // --- call-sign entry -------------------------------------------------------------
    void EditCallChange();
    void EditCallEnter();
    void EditCallExit();
    void FindPrefix(const QString& call);
    void FilterRepeatGrid(const QString& condition, const QString& sort, int goToLast, int minimumLength);
    void ClearQsoInfo();
    void TimerRealClockTimer();
    void EditQTHLocChange();
    void DBGridLogEnter();
    void EditNoteClick();
    void EditQTHLocClick();
    void DBGridRepeatMouseActivate();
    void DBGridRepeatExit();
    void DBGridRepeatDblClick();
    // Wires the entry panel's handlers; run once by the constructor.
    void connectEntryHandlers();
    // The steps of EditCallChange.
    void driveStopwatch(const QString& call);
    void showAwardStatusOfCall();
    void showDistanceAndBearing();
    void showCountryOfCall();
    void driveAutoRecording(const QString& call);
    // The recording "Save" stores with the contact in the panel: "Sound AutoSave" is on and the
    // held recording is not a timed job's.
    bool contactRecordingHeld() const;
    void clearIslandOfCall();
    QString prefixRowText(const QString& field) const;
    void connectMediaHandlers();

    // --- storing and editing a contact ---------------------------------------------------
    void ButtonSaveClick();
    void StoreQso(int entryState);
    void ButtonEditClick();
    void ButtonClearClick();

    // --- award status and marks --------------------------------------------------------
    // True while the contest window's award item of the typed call exists.
    bool ContestItemFound = false;
    void ShowAwardStatus(const QString& Param1, const QString& Param2, const QString& Param3,
                         const QString& AwName);
    // The last contact of the typed call in the contest (contest mode only).
    void ShowLastQsoInContest();

    // --- contest mode ------------------------------------------------------------------------
    void OptionContestConfigClick();
    void SaveContestCabriloClick();
    void SaveContestTextClick();
    void SaveContestExcelClick();
    void ContestBeginClick();
    void ContestEndClick();
    void ContestViewInfoClick();
    // The contest columns of the row being stored (the store's contest block).
    void StoreContestColumns(class Dataset* log, bool isNew, const QString& band, const QString& mode);
    void connectContestHandlers();
    // The contest item checked before the last handler ran.
    QAction* contestItemBefore_ = nullptr;
    void showContestPanel(bool contest);
    void showContestGridColumns(bool contest);
    void UpdateAwardsForQso(const QString& band, const QString& mode, const QString& status,
                            const QString& action);
    void MarkAwardCell(const QString& band, const QString& mode, const QString& status, const QString& param1,
                       const QString& param2, const QString& param3, const QString& awName,
                       const QString& other);
    // The callbook import's composite line and its field cutter.
    QString CompositeLine;
    void TakeAwardPart(QString& part);

    // --- log grid ---------------------------------------------------------------------------
    void ViewSortCallClick();
    void ViewSortDateClick();
    void ViewSortBandClick();
    void ViewSortModeClick();
    void ViewSortQTHClick();
    void ViewSortNameClick();
    void ViewSortRcvdQSLClick();
    void ViewSortSendQSLClick();
    // The Date sort run by a save: the saved row stays current when the view holds it.
    void sortByDateShowing(qint64 savedRow);
    void LogDeleteClick();
    void LogClearClick();
    // ADIF export of the log view and import into the current book (UMainAdif.cpp).
    void LogExportADIFClick();
    void LogImportADIFClick();
    // Colours the log grid and wires the sort items, "Delete QSO" and "Clear"; run once by the
    // constructor.
    void setUpLogGrid();

    // --- transceiver link ---------------------------------------------------------------
    void DeviceTrxConnectClick();
    void DeviceTrxControlClick();
    void ButtonKenwClick();
    // The band of the radio's VFO A, on the GUI thread, in the order of the replies.
    void TrxBandArrived(const QString& band);
    void TrxOpenFailed(const QString& port, const QString& why);
    void TrxLost(const QString& port, const QString& why);
    void TrxLinkFailed(const QString& message);
    void connectDeviceHandlers();

    // --- digital-mode programs (UMainPrograms.cpp) -----------------------------------------
    void DigiPan1Click();
    void MixW1Click();
    void MMVari1Click();
    void CwTypeClick();
    void PrTrueTTYClick();
    void Pr51Click();
    void Pr61Click();
    void connectProgramHandlers();

    // --- stopwatch ------------------------------------------------------------------------
    void TimerStartClick();
    void TimerStopClick();
    void TimerStopClearClick();
    void TimerTimerTimer();
    void connectStopwatchHandlers();
    void OptionsAutoExitClick();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Call-sign entry state that the Parts leave to us: the prefix existence queries, and the
    // last unreadable settings texts, so each is reported once rather than on every keystroke or tick.
    std::shared_ptr<class PrefixLookup> prefixLookup_;
    QString badOwnPosition_;
    bool callBoxEntered_ = false;
    QString badUtcDifference_;
    PrefixLookup& prefixLookup();
    bool entryKeyPress(QObject* box, class QKeyEvent* e);
    bool entryKeyRelease(QObject* box, class QKeyEvent* e);
    // The callbook panel's pop-up menu, kept while it is removed from the panel.
    QMenu* callbookMenu_ = nullptr;
    void connectHandler(QAction* item, void (TFMain::*handler)());
    void buildEntryPanel();
    void buildInfoPanel();
    void buildGridPanel();
    void buildExtraPanel();
    void buildMenus();
    void buildPopupMenus();
};

extern TFMain* FMain;
