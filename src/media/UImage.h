#pragma once
// The QSL card picture window: pictures stored per call in table Pict, searched by call prefix,
// shown with the current row and saved out; it can follow the log's current contact.

#include "dataset/Dataset.h"
#include "widgets/TForm.h"

#include <QImage>
#include <QSet>

class DBGrid;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QRadioButton;

class TFImage : public TForm {
    Q_OBJECT
public:
    explicit TFImage(QWidget* parent = nullptr);

    void ButtonAddClick();
    void ButtonSaveClick();
    void RadioGroupSortClick();
    void EditSearchChange();
    void Delete1Click();
    void Clear1Click();
    void ButtonCloseClick();

    // The data module's handler of the picture table's current row: shows its picture.
    void ShowCurrentPicture();
    // Shown with a log contact whose call has a picture, closed otherwise.
    void FollowContact(const QString& call);

    // The picture shown, as loaded (Image1 shows it scaled).
    const QImage& picture() const { return picture_; }

    QLabel* Image1;
    DBGrid* DBGridImage;
    QPushButton* ButtonAdd;
    QPushButton* ButtonSave;
    QGroupBox* RadioGroupSort;
    QRadioButton* SortName;
    QRadioButton* SortDate;
    QGroupBox* GroupBoxSearch;
    QLineEdit* EditSearch;
    QLabel* Label1;
    QPushButton* ButtonClose;
    QMenuBar* MainMenu1;
    QAction* Delete1;
    QAction* Clear1;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void showPicture();
    void sortBySelection();

    QImage picture_;
    // Rows whose picture could not be shown, reported once each.
    QSet<Dataset::Bookmark> unshowable_;
};

extern TFImage* FImage;
