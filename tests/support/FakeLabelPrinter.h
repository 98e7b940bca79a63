#pragma once
// A label printer for tests: records the font and the lines of each job; can have no printer.

#include "platform/LabelPrinter.h"

#include <QStringList>

class FakeLabelPrinter : public LabelPrinter {
public:
    // Installs a new fake as the label printer and returns it (owned by the printing layer).
    static FakeLabelPrinter* install();

    bool begin(const TextFont& font) override;
    void line(const QString& text) override { lines << text; }
    bool end() override {
        ++jobs;
        return true;
    }
    QString lastError() const override { return QStringLiteral("No printer"); }

    bool noPrinter = false;
    int jobs = 0;
    TextFont font;
    QStringList lines;
};
