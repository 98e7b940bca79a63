#include "media/ULabel.h"

#include "media/LabelTemplate.h"
#include "media/MediaWidgets.h"
#include "platform/Dialogs.h"

#include <QFile>
#include <QFontDialog>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <stdexcept>

TFlabel* Flabel = nullptr;

namespace {
const QString kTemplateFile = QStringLiteral("QSL_Lab.hbr");
const QString kFontFile = QStringLiteral("QSL_F.hbr");

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error(QStringLiteral("I/O error: cannot write %1").arg(path).toStdString());
}

std::optional<QByteArray> readBytes(const QString& path) {
    QFile f(path);
    if (!f.exists()) return std::nullopt;
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("I/O error: cannot read %1").arg(path).toStdString());
    return f.readAll();
}
} // namespace

QStringList memoLines(const QPlainTextEdit* memo) {
    return memo->toPlainText().split(QLatin1Char('\n'));
}

void setMemoFont(QPlainTextEdit* memo, const TextFont& t) {
    QFont f(t.name, t.size);
    f.setBold(t.bold);
    f.setItalic(t.italic);
    memo->setFont(f);
}

TextFont memoFont(const QPlainTextEdit* memo) {
    const QFont f = memo->font();
    return {f.family(), f.pointSize(), f.bold(), f.italic()};
}

bool loadLabelFiles(QPlainTextEdit* memo) {
    if (const auto font = readBytes(kFontFile)) {
        TextFont t = memoFont(memo);
        QString error;
        if (!LabelTemplate::applyFontFile(LabelTemplate::linesOf(*font), t, error)) {
            Dialogs::errorBox(error);
            return false;
        }
        setMemoFont(memo, t);
    }
    if (const auto text = readBytes(kTemplateFile))
        memo->setPlainText(LabelTemplate::linesOf(*text).join(QLatin1Char('\n')));
    return true;
}

TFlabel::TFlabel(QWidget* parent) : TForm(QStringLiteral("Flabel"), parent) {
    setWindowTitle(QStringLiteral("QSL label"));
    MainMenu1 = named(new QMenuBar(this), QStringLiteral("MainMenu1"));
    QMenu* options = named(MainMenu1->addMenu(QStringLiteral("Options")), QStringLiteral("Options1"));
    Font1 = named(options->addAction(QStringLiteral("Font")), QStringLiteral("Font1"));
    Memo1 = named(new QPlainTextEdit(this), QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(LabelTemplate::builtInTemplate().join(QLatin1Char('\n')));
    setMemoFont(Memo1, LabelTemplate::builtInFont());
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(Memo1);
    resize(760, 420);

    chooseFont = [this](const QFont& current) -> std::optional<QFont> {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, current, this);
        return ok ? std::optional<QFont>(f) : std::nullopt;
    };
    connect(Font1, &QAction::triggered, this, [this] { Dialogs::guarded([this] { Font1Click(); }); });
}

void TFlabel::FormCreate() {
    loadLabelFiles(Memo1);
}

void TFlabel::FormClose() {
    writeBytes(kTemplateFile, LabelTemplate::fileText(memoLines(Memo1)));
    const QFont f = Memo1->font();
    writeBytes(kFontFile, LabelTemplate::fontFileText(memoFont(Memo1), f.underline() || f.strikeOut()));
}

void TFlabel::Font1Click() {
    if (const auto f = chooseFont(Memo1->font())) Memo1->setFont(*f);
}

void TFlabel::done(int r) {
    Dialogs::guarded([this] { FormClose(); });
    TForm::done(r);
}
