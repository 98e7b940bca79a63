#include "support/FakeLabelPrinter.h"

FakeLabelPrinter* FakeLabelPrinter::install() {
    auto fake = std::make_unique<FakeLabelPrinter>();
    FakeLabelPrinter* raw = fake.get();
    Printing::setPrinter(std::move(fake));
    return raw;
}

bool FakeLabelPrinter::begin(const TextFont& f) {
    if (noPrinter) return false;
    font = f;
    lines.clear();
    return true;
}
