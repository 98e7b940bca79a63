#pragma once
// The web call-sign look-up window: the text that a look-up service's page publishes about a
// typed call, shown in a memo.

#include "widgets/TForm.h"

#include <memory>

class PageLoader;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

class TFQRZ : public TForm {
    Q_OBJECT
public:
    explicit TFQRZ(QWidget* parent = nullptr);
    ~TFQRZ() override;

    void Button5Click();
    void WebBrowser1DownloadBegin();
    void WebBrowser1DocumentComplete();

    // The memo's lines.
    QStringList memoLines() const;

    QPlainTextEdit* Memo1;
    QLineEdit* Edit1;
    QPushButton* Button5;
    QProgressBar* ProgressBar1;
    PageLoader* WebBrowser1;

private:
    std::unique_ptr<PageLoader> loader_;
};

extern TFQRZ* FQRZ;
