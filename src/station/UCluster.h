#pragma once
// The DX-spot window: the spots of a DX-spot web page in a grid; a click on a spot puts its
// call into the main window, a double click also its band and mode.

#include "widgets/TForm.h"

#include <QStringList>
#include <memory>

class PageLoader;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

class TFDX_Cluster : public TForm {
    Q_OBJECT
public:
    explicit TFDX_Cluster(QWidget* parent = nullptr);
    ~TFDX_Cluster() override;

    void FormCreate() override;
    void ButtonShowClusterClick();
    void WebBrowser1DownloadBegin();
    void WebBrowser1DownloadComplete();
    void SplitSpotText(const QString& text);
    void ParseSpotLines();
    // row counts from 1 (the first spot), as the grid's fixed row is row 0.
    void StringGrid1Click(int row);
    void StringGrid1DblClick(int row);
    void ButtonCloseClick();

    // A grid cell by column and row, the fixed ones included (row 0: the headers).
    QString Cells(int col, int row) const;

    // 8 columns, 252 rows: column 0 and row 0 are the grid's fixed headers.
    QTableWidget* StringGrid1;
    PageLoader* WebBrowser1;
    QGroupBox* GroupBox1;
    QLabel* LabCal;
    QLabel* LabFr;
    QPushButton* ButtonShowCluster;
    QProgressBar* ProgressBar1;
    QPushButton* ButtonClose;
    QGroupBox* GroupBox2;
    QLabel* Label_ZCQ;
    QLabel* Label_ZITU;
    QLabel* Label_DXCC;
    QLabel* LabelCountry;
    QLabel* LabelPref;
    QLabel* LabelCount;
    QLabel* LabelCont;
    QGroupBox* GroupBoxDXCC;
    // LabelDX18 ... LabelDXS, in the order of the main window's DXCC labels.
    QList<QLabel*> LabelDX;

    QStringList SpotLines;

private:
    void setCell(int col, int row, const QString& text);

    std::unique_ptr<PageLoader> loader_;
    // The last clicked spot's band is one of the bands (not a frequency no band covers).
    bool bandKnown_ = false;
};

extern TFDX_Cluster* FDX_Cluster;
