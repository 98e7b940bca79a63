#include "media/ULabPrin.h"

#include "data/UDM.h"
#include "data/UGlobal.h"
#include "media/LabelTemplate.h"
#include "media/MediaWidgets.h"
#include "media/ULabel.h"
#include "platform/Clock.h"
#include "platform/DataFolder.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"
#include "platform/QtLabelPrinter.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <stdexcept>

TFLabPrint* FLabPrint = nullptr;

namespace {

void writeWorkFile(const QString& path, const QStringList& lines) {
    QFile f(path);
    const QByteArray bytes = LabelTemplate::fileText(lines);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error(QStringLiteral("I/O error: cannot write %1").arg(path).toStdString());
}

QStringList readWorkFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("I/O error: cannot read %1").arg(path).toStdString());
    return LabelTemplate::linesOf(f.readAll());
}

LabelPrinter* printer() {
    if (!Printing::printer()) Printing::setPrinter(std::make_unique<QtLabelPrinter>());
    return Printing::printer();
}

} // namespace

TFLabPrint::TFLabPrint(QWidget* parent) : TForm(QStringLiteral("FLabPrint"), parent) {
    setWindowTitle(QStringLiteral("Print QSL label"));
    Memo1 = named(new QPlainTextEdit(this), QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setPlainText(QString());
    setMemoFont(Memo1, LabelTemplate::builtInPrintFont());
    ButtonPrior = mediaButton(this, QStringLiteral("ButtonPrior"), QStringLiteral("Prior"));
    ButtonNext = mediaButton(this, QStringLiteral("ButtonNext"), QStringLiteral("Next"));
    Button1 = mediaButton(this, QStringLiteral("Button1"), QStringLiteral("Print"));
    Button4 = mediaButton(this, QStringLiteral("Button4"), QStringLiteral("Close"));
    Button5 = mediaButton(this, QStringLiteral("Button5"), QStringLiteral("B"));
    Button5->hide();
    Edit1 = named(new QLineEdit(this), QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Memo1, 0, 0, 1, 5);
    layout->addWidget(Edit1, 1, 0);
    layout->addWidget(ButtonPrior, 1, 1);
    layout->addWidget(ButtonNext, 1, 2);
    layout->addWidget(Button1, 1, 3);
    layout->addWidget(Button4, 1, 4);
    resize(760, 440);

    const auto on = [this](QPushButton* b, void (TFLabPrint::*handler)()) {
        connect(b, &QPushButton::clicked, this,
                [this, handler] { Dialogs::guarded([this, handler] { (this->*handler)(); }); });
    };
    on(ButtonPrior, &TFLabPrint::ButtonPriorClick);
    on(ButtonNext, &TFLabPrint::ButtonNextClick);
    on(Button1, &TFLabPrint::Button1Click);
    on(Button4, &TFLabPrint::Button4Click);
    on(Button5, &TFLabPrint::Button5Click);
}

bool TFLabPrint::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) Dialogs::guarded([this] { FormActivate(); });
    return TForm::event(e);
}

// The template window starts from the built-in template too, so the first label and those after
// "Prior" and "Next" agree before the label files were ever written.
bool TFLabPrint::loadLabelFiles() {
    Memo1->setPlainText(LabelTemplate::builtInTemplate().join(QLatin1Char('\n')));
    setMemoFont(Memo1, LabelTemplate::builtInFont());
    fillPending_ = ::loadLabelFiles(Memo1);
    return fillPending_;
}

LabelContact TFLabPrint::currentContact() {
    Dataset* log = DM->TableLog;
    const auto text = [log](const char* field) { return log->field(QString::fromLatin1(field)).asString(); };
    return {text("LogCall"), text("LogNotepad"), text("LogDate"),  text("LogTime"),
            text("LogBand"), text("LogMode"),    text("LogTxRst"), text("LogRxQsl")};
}

// The template goes through the two work files, as the label files always did, and the work
// files are gone afterwards.
void TFLabPrint::fillFrom(const QStringList& lines, const QString& workFolder) {
    const QDir dir(workFolder);
    const QString lab = dir.filePath(QStringLiteral("lab.tmp"));
    const QString labpr = dir.filePath(QStringLiteral("labpr.tmp"));
    const LabelContact contact = currentContact();
    Edit1->setText(contact.call);
    writeWorkFile(lab, lines);
    writeWorkFile(labpr, LabelTemplate::fill(readWorkFile(lab), contact));
    const QStringList filled = readWorkFile(labpr);
    QFile::remove(lab);
    QFile::remove(labpr);
    Memo1->setPlainText(filled.join(QLatin1Char('\n')));
}

void TFLabPrint::FormActivate() {
    if (!fillPending_) return;
    fillPending_ = false;
    fillFrom(memoLines(Memo1), QDir::currentPath());
}

void TFLabPrint::Button5Click() {
    fillFrom(memoLines(Flabel->Memo1), programPath(QStringLiteral("\\Temp")));
    QDir::setCurrent(ProgramFolder);
}

void TFLabPrint::ButtonPriorClick() {
    DM->TableLog->prior();
    Button5Click();
}

void TFLabPrint::ButtonNextClick() {
    DM->TableLog->next();
    Button5Click();
}

void TFLabPrint::Button4Click() {
    Close();
}

// The QSL-sent date is written only after a label was printed: a failed job or a blank label
// marks nothing.
void TFLabPrint::Button1Click() {
    const DlgResult insertDate = Dialogs::messageDlg(QStringLiteral("Insert Date in Log ?"),
                                                     DlgType::Confirmation, DlgButtons::YesNoCancel);
    LabelPrinter* p = printer();
    if (!p->begin(memoFont(Memo1))) {
        Dialogs::errorBox(Msg(QStringLiteral("No printer"), QStringLiteral("Нет принтера")));
        return;
    }
    bool printedText = false;
    for (const QString& line : memoLines(Memo1)) {
        p->line(line);
        printedText = printedText || !line.trimmed().isEmpty();
    }
    if (!p->end()) {
        Dialogs::errorBox(p->lastError());
        return;
    }
    if (insertDate == DlgResult::Yes && printedText && !DM->TableLog->isEmpty()) {
        Dataset* log = DM->TableLog;
        log->edit();
        log->setValue(QStringLiteral("LogTxQsl"), DateText::shortDate(Clock::today()));
        log->post();
    }
}
