#include "platform/QtLabelPrinter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

QtLabelPrinter::QtLabelPrinter(const QString& pdfFile) : pdfFile_(pdfFile) {}

QtLabelPrinter::~QtLabelPrinter() {
    if (painter_ && painter_->isActive()) painter_->end();
}

bool QtLabelPrinter::begin(const TextFont& font) {
    error_.clear();
    ok_ = false;
    painter_.reset();
    if (pdfFile_.isEmpty()) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            error_ = QStringLiteral("No printer");
            return false;
        }
        printer_ = std::make_unique<QPrinter>(info);
    } else {
        printer_ = std::make_unique<QPrinter>();
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(pdfFile_);
    }
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        error_ = QStringLiteral("No printer");
        painter_.reset();
        return false;
    }
    QFont f(font.name, font.size);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    painter_->setFont(f);
    y_ = painter_->fontMetrics().ascent();
    ok_ = true;
    return true;
}

void QtLabelPrinter::line(const QString& text) {
    if (!ok_) return;
    const QFontMetrics m = painter_->fontMetrics();
    if (y_ + m.descent() > painter_->viewport().height()) {
        if (!printer_->newPage()) {
            ok_ = false;
            error_ = QStringLiteral("The printer refused a new page");
            return;
        }
        y_ = m.ascent();
    }
    painter_->drawText(0, y_, text);
    y_ += m.lineSpacing();
}

bool QtLabelPrinter::end() {
    if (painter_ && painter_->isActive() && !painter_->end() && ok_) {
        ok_ = false;
        error_ = QStringLiteral("The print job failed");
    }
    painter_.reset();
    printer_.reset();
    return ok_;
}

QString QtLabelPrinter::lastError() const {
    return error_;
}
