#include "media/UImage.h"

#include "data/UDM.h"
#include "data/UGlobal.h"
#include "dataset/QuotedStr.h"
#include "logbook/UMain.h"
#include "media/MediaWidgets.h"
#include "platform/Clock.h"
#include "platform/DataFolder.h"
#include "platform/Dialogs.h"
#include "widgets/DBGrid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <stdexcept>

TFImage* FImage = nullptr;

namespace {

// Columns shown but never typed into.
class NoEditDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override {
        return nullptr;
    }
};

[[noreturn]] void ioError(const QString& what, const QString& path) {
    throw std::runtime_error(QStringLiteral("I/O error: cannot %1 %2").arg(what, path).toStdString());
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) ioError(QStringLiteral("read"), path);
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        ioError(QStringLiteral("write"), path);
}

void removeIfThere(const QString& path) {
    if (QFile::exists(path) && !QFile::remove(path)) ioError(QStringLiteral("delete"), path);
}

// The picture type follows the stored name's extension; content decides when that fails.
QImage loadPicture(const QString& path, const QString& storedName) {
    QImage image;
    QImageReader byName(path, QFileInfo(storedName).suffix().toLower().toLatin1());
    if (byName.read(&image)) return image;
    QImageReader byContent(path);
    byContent.setDecideFormatFromContent(true);
    byContent.read(&image);
    return image;
}

} // namespace

TFImage::TFImage(QWidget* parent) : TForm(QStringLiteral("FImage"), parent) {
    setWindowTitle(QStringLiteral("Images"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    MainMenu1 = named(new QMenuBar(this), QStringLiteral("MainMenu1"));
    QMenu* images = named(MainMenu1->addMenu(QStringLiteral("Images")), QStringLiteral("Images1"));
    Delete1 = named(images->addAction(QStringLiteral("Delete")), QStringLiteral("Delete1"));
    Clear1 = named(images->addAction(QStringLiteral("Clear")), QStringLiteral("Clear1"));

    Image1 = named(new QLabel(this), QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setMinimumSize(320, 220);
    Image1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    DBGridImage = named(new DBGrid(this), QStringLiteral("DBGridImage"));
    DBGridImage->setRowSelect(true);
    DBGridImage->addColumn(QStringLiteral("Call"), QStringLiteral("Name"));
    DBGridImage->addColumn(QStringLiteral("Date_Time"), QStringLiteral("Date  Time"));
    DBGridImage->addColumn(QStringLiteral("R1"), QStringLiteral("File name"));
    DBGridImage->setItemDelegateForColumn(1, new NoEditDelegate(DBGridImage));
    DBGridImage->setItemDelegateForColumn(2, new NoEditDelegate(DBGridImage));

    ButtonAdd = mediaButton(this, QStringLiteral("ButtonAdd"), QStringLiteral("Add"));
    ButtonSave = mediaButton(this, QStringLiteral("ButtonSave"), QStringLiteral("Save"));
    ButtonClose = mediaButton(this, QStringLiteral("ButtonClose"), QStringLiteral("Close"));
    RadioGroupSort = named(new QGroupBox(QStringLiteral(" Sorted "), this), QStringLiteral("RadioGroupSort"));
    SortName = named(new QRadioButton(QStringLiteral("Name"), RadioGroupSort), QStringLiteral("SortName"));
    SortDate = named(new QRadioButton(QStringLiteral("Date"), RadioGroupSort), QStringLiteral("SortDate"));
    SortName->setChecked(true);
    auto* sortLayout = new QVBoxLayout(RadioGroupSort);
    sortLayout->addWidget(SortName);
    sortLayout->addWidget(SortDate);
    GroupBoxSearch = named(new QGroupBox(QStringLiteral(" Search "), this), QStringLiteral("GroupBoxSearch"));
    EditSearch = named(new QLineEdit(GroupBoxSearch), QStringLiteral("EditSearch"));
    Label1 = named(new QLabel(QStringLiteral("*"), GroupBoxSearch), QStringLiteral("Label1"));
    QFont star = Label1->font();
    star.setBold(true);
    star.setPixelSize(24);
    Label1->setFont(star);
    Label1->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0)"));
    Label1->hide();
    auto* searchLayout = new QHBoxLayout(GroupBoxSearch);
    searchLayout->addWidget(EditSearch);
    searchLayout->addWidget(Label1);

    auto* side = new QVBoxLayout;
    side->addWidget(DBGridImage, 1);
    side->addWidget(RadioGroupSort);
    side->addWidget(GroupBoxSearch);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonAdd);
    buttons->addWidget(ButtonSave);
    buttons->addWidget(ButtonClose);
    side->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(Image1, 2);
    layout->addLayout(side, 1);
    resize(900, 520);

    const auto guardedSlot = [this](void (TFImage::*h)()) {
        return [this, h] { Dialogs::guarded([this, h] { (this->*h)(); }); };
    };
    connect(ButtonAdd, &QPushButton::clicked, this, guardedSlot(&TFImage::ButtonAddClick));
    connect(ButtonSave, &QPushButton::clicked, this, guardedSlot(&TFImage::ButtonSaveClick));
    connect(ButtonClose, &QPushButton::clicked, this, guardedSlot(&TFImage::ButtonCloseClick));
    connect(SortName, &QRadioButton::clicked, this, guardedSlot(&TFImage::RadioGroupSortClick));
    connect(SortDate, &QRadioButton::clicked, this, guardedSlot(&TFImage::RadioGroupSortClick));
    connect(EditSearch, &QLineEdit::textChanged, this, guardedSlot(&TFImage::EditSearchChange));
    connect(Delete1, &QAction::triggered, this, guardedSlot(&TFImage::Delete1Click));
    connect(Clear1, &QAction::triggered, this, guardedSlot(&TFImage::Clear1Click));
}

void TFImage::showEvent(QShowEvent* e) {
    if (!DBGridImage->dataSource() && DM) DBGridImage->setDataSource(DM->DataSourceImage);
    centreOn(this, FMain);
    TForm::showEvent(e);
    showPicture();
}

void TFImage::resizeEvent(QResizeEvent* e) {
    TForm::resizeEvent(e);
    showPicture();
}

void TFImage::showPicture() {
    if (picture_.isNull()) {
        Image1->clear();
        return;
    }
    Image1->setPixmap(
        QPixmap::fromImage(picture_.scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TFImage::ButtonAddClick() {
    const QString file =
        Dialogs::openFile({QString(), QString(), QStringLiteral("BMP, JPEG (*.bmp *.jpg *.jpeg);;All (*)"),
                           QString(), QString()});
    if (file.isEmpty()) return;
    const QByteArray bytes = readFile(file);
    const QString name = QFileInfo(file).fileName();
    Dataset* pict = DM->TableImage;
    DM->DataSourceImage->setEnabled(false);
    try {
        pict->append();
        pict->setValue(QStringLiteral("Call"), name.section(QLatin1Char('.'), 0, 0).toUpper());
        pict->setValue(QStringLiteral("R1"), name);
        pict->setValue(QStringLiteral("Date_Time"), Clock::now());
        pict->setValue(QStringLiteral("Fot1"), bytes);
        pict->post();
    } catch (...) {
        if (pict->state() != Dataset::State::Browse) pict->cancel();
        DM->DataSourceImage->setEnabled(true);
        throw;
    }
    DM->DataSourceImage->setEnabled(true);
}

void TFImage::ButtonSaveClick() {
    Dataset* pict = DM->TableImage;
    if (pict->isEmpty()) return;
    FileDialogRequest request;
    request.fileName = pict->field(QStringLiteral("R1")).asString();
    const QString file = Dialogs::saveFile(request);
    if (!file.isEmpty()) writeFile(file, pict->field(QStringLiteral("Fot1")).asBytes());
}

void TFImage::sortBySelection() {
    DM->TableImage->setSort(SortName->isChecked() ? QStringLiteral("Call") : QStringLiteral("Date_Time"));
}

void TFImage::RadioGroupSortClick() {
    EditSearch->clear();
    sortBySelection();
}

void TFImage::EditSearchChange() {
    Dataset* pict = DM->TableImage;
    const QString text = EditSearch->text();
    if (!text.isEmpty() && text != QLatin1String("*") && text != QLatin1String("?") &&
        pict->recordCount() > 2) {
        pict->setFilter(QStringLiteral("Call LIKE ") + QuotedStr(text + QLatin1Char('*')));
        return;
    }
    pict->setFilter(QString());
    EditSearch->clear();
    sortBySelection();
}

void TFImage::Delete1Click() {
    DM->TableImage->remove();
}

void TFImage::Clear1Click() {
    if (Dialogs::messageDlg(Msg(QStringLiteral("Clear Images ?"), QStringLiteral("Очистить изображения ?")),
                            DlgType::Confirmation, DlgButtons::YesNoCancel) != DlgResult::Yes)
        return;
    Dataset* pict = DM->TableImage;
    pict->first();
    DM->DataSourceImage->setEnabled(false);
    while (!pict->isEmpty())
        pict->remove();
    DM->DataSourceImage->setEnabled(true);
}

void TFImage::ButtonCloseClick() {
    Close();
}

void TFImage::ShowCurrentPicture() {
    Dataset* pict = DM->TableImage;
    const QString storedName = pict->field(QStringLiteral("R1")).asString();
    // The stored name is used as it is: on this system a "\" is part of a file name.
    const QString path = QDir(programPath(QStringLiteral("\\Temp"))).filePath(QLatin1Char('`') + storedName);
    Label1->setVisible(!EditSearch->text().isEmpty());
    if (storedName.isEmpty()) return;
    removeIfThere(path);
    writeFile(path, pict->field(QStringLiteral("Fot1")).asBytes());
    const QImage image = loadPicture(path, storedName);
    removeIfThere(path);
    picture_ = image;
    showPicture();
    if (image.isNull()) {
        const Dataset::Bookmark row = pict->bookmark();
        if (unshowable_.contains(row)) return;
        unshowable_.insert(row);
        Dialogs::errorBox(Msg(QStringLiteral("The picture %1 cannot be shown"),
                              QStringLiteral("Изображение %1 не может быть показано"))
                              .arg(storedName));
    }
}

void TFImage::FollowContact(const QString& call) {
    Dataset* pict = DM->TableImage;
    pict->locate(QStringLiteral("Call"), call);
    if (!pict->isEmpty() && pict->field(QStringLiteral("Call")).asString() == call) {
        if (isVisible()) return;
        // Shown beside the main window without taking the typing away from it.
        setWindowModality(Qt::NonModal);
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
    } else {
        Close();
    }
}
