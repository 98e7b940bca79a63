#pragma once
// A text print job: one font, one printed line per text line, top to bottom. The real printer
// lives with the windows (it needs the print library); tests print to PDF or record the lines.

#include <QString>
#include <memory>

// A font as the label files keep it: family, size in points, bold and italic.
struct TextFont {
    QString name;
    int size = 10;
    bool bold = false;
    bool italic = false;
    bool operator==(const TextFont&) const = default;
};

class LabelPrinter {
public:
    virtual ~LabelPrinter() = default;
    // Starts a job on the default printer; false (see lastError()) when there is none.
    virtual bool begin(const TextFont& font) = 0;
    virtual void line(const QString& text) = 0;
    // Ends the job; false when it failed.
    virtual bool end() = 0;
    virtual QString lastError() const = 0;
};

namespace Printing {
// The installed printer, or nullptr when none was installed yet.
LabelPrinter* printer();
void setPrinter(std::unique_ptr<LabelPrinter> printer); // nullptr removes it
} // namespace Printing
