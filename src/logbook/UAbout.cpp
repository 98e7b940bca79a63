#include "logbook/UAbout.h"

#include "platform/Dialogs.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFAboutBox* FAboutBox = nullptr;

TFAboutBox::TFAboutBox(QWidget* parent) : TForm(QStringLiteral("FAboutBox"), parent) {
    setWindowTitle(QStringLiteral("About"));

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    const QIcon icon = QApplication::windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon)
                                                           : QApplication::windowIcon();
    ProgramIcon->setPixmap(icon.pixmap(48, 48));

    ProductName = new QLabel(QStringLiteral("Zelmor"), this);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont big = ProductName->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    ProductName->setFont(big);
    Version = new QLabel(QStringLiteral("Ver 3.b"), this);
    Version->setObjectName(QStringLiteral("Version"));

    GroupBoxContacts = new QGroupBox(this);
    GroupBoxContacts->setObjectName(QStringLiteral("GroupBoxContacts"));
    auto* contacts = new QVBoxLayout(GroupBoxContacts);
    for (const QString& line : {QStringLiteral("Zelmor Log \u2014 logbook for radio amateurs"),
                                QStringLiteral("Contacts, awards, contests, QSL labels"),
                                QStringLiteral("and callbook in one program.")})
        contacts->addWidget(new QLabel(line, GroupBoxContacts));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, [this] { Dialogs::guarded([this] { OKButtonClick(); }); });

    auto* names = new QVBoxLayout;
    names->addWidget(ProductName);
    names->addWidget(Version);
    names->addStretch();
    auto* head = new QHBoxLayout;
    head->addWidget(ProgramIcon, 0, Qt::AlignTop);
    head->addSpacing(8);
    head->addLayout(names, 1);
    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);
    column->addLayout(head);
    column->addWidget(GroupBoxContacts);
    column->addWidget(OKButton, 0, Qt::AlignHCenter);
}

void TFAboutBox::OKButtonClick() {
    close();
}
