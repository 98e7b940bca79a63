#pragma once
// The label printer over the system's default printer; with an output file it prints to PDF.

#include "platform/LabelPrinter.h"

#include <memory>

class QPainter;
class QPrinter;

class QtLabelPrinter : public LabelPrinter {
public:
    explicit QtLabelPrinter(const QString& pdfFile = {});
    ~QtLabelPrinter() override;

    bool begin(const TextFont& font) override;
    void line(const QString& text) override;
    bool end() override;
    QString lastError() const override;

private:
    QString pdfFile_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    int y_ = 0;
    bool ok_ = false;
    QString error_;
};
