#include "station/UCallInt.h"

#include "platform/Dialogs.h"
#include "platform/PageLoader.h"
#include "station/CallLookup.h"
#include "widgets/Controls.h"
#include "widgets/UpperCase.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TFQRZ* FQRZ = nullptr;

TFQRZ::TFQRZ(QWidget* parent) : TForm(QStringLiteral("FQRZ"), parent) {
    // The service's name; a neutral one until a service is chosen, as the menu item reads.
    setWindowTitle(QStringLiteral("Callsign Web"));
    setWindowFlag(Qt::WindowStaysOnTopHint);

    Memo1 = named(new QPlainTextEdit(this), QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setMinimumSize(480, 360);
    Memo1->setPlainText(QString());
    Edit1 = newEdit(this, QStringLiteral("Edit1"));
    makeUpperCase(Edit1);
    Button5 = newButton(this, QStringLiteral("Button5"), QStringLiteral("Find in QRZ"));
    ProgressBar1 = named(new QProgressBar(this), QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    connect(Button5, &QPushButton::clicked, this, [this] { Dialogs::guarded([this] { Button5Click(); }); });

    loader_ = Pages::makeLoader();
    WebBrowser1 = loader_.get();
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    connect(WebBrowser1, &PageLoader::downloadBegin, this,
            [this] { Dialogs::guarded([this] { WebBrowser1DownloadBegin(); }); });
    connect(WebBrowser1, &PageLoader::downloadComplete, this,
            [this] { Dialogs::guarded([this] { WebBrowser1DocumentComplete(); }); });

    auto* row = new QHBoxLayout;
    row->addWidget(Edit1);
    row->addWidget(Button5);
    row->addWidget(ProgressBar1, 1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Memo1, 1);
    column->addLayout(row);
}

TFQRZ::~TFQRZ() {
    if (FQRZ == this) FQRZ = nullptr;
}

QStringList TFQRZ::memoLines() const {
    return Memo1->toPlainText().split(QLatin1Char('\n'));
}

void TFQRZ::Button5Click() {
    ProgressBar1->setValue(5);
    Memo1->clear();
    WebBrowser1->navigate(CallLookup::pageUrl(Pages::callSignServer(), Edit1->text()));
    ProgressBar1->setValue(15);
}

void TFQRZ::WebBrowser1DownloadBegin() {
    ProgressBar1->setValue(30);
}

void TFQRZ::WebBrowser1DocumentComplete() {
    ProgressBar1->setValue(55);
    Memo1->clear();
    ProgressBar1->setValue(60);
    const QStringList elements = WebBrowser1->elementTexts();
    if (!WebBrowser1->error().isEmpty())
        Dialogs::messageDlg(QStringLiteral("No access to Internet! "), DlgType::Warning);
    else if (elements.size() > 104)
        ProgressBar1->setValue(80);
    Memo1->setPlainText(CallLookup::memoLines(elements, Edit1->text()).join(QLatin1Char('\n')));
    ProgressBar1->setValue(100);
}
