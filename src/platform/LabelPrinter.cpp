#include "platform/LabelPrinter.h"

namespace {
std::unique_ptr<LabelPrinter>& installed() {
    static std::unique_ptr<LabelPrinter> p;
    return p;
}
} // namespace

namespace Printing {
LabelPrinter* printer() {
    return installed().get();
}
void setPrinter(std::unique_ptr<LabelPrinter> p) {
    installed() = std::move(p);
}
} // namespace Printing
