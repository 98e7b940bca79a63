#pragma once
// Dialogs for tests: every message is recorded, answers come from a queue, modal windows run a
// scripted action instead of blocking.

#include "platform/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <functional>

struct ShownMessage {
    QString text;
    DlgType type;
    DlgButtons buttons;
};

class ScriptedDialogs : public DialogBackend {
public:
    // Installs a new scripted backend into the dialog layer and returns it (owned by the layer).
    static ScriptedDialogs* install();
    // Restores the real dialogs.
    static void uninstall();

    // Answers for the coming questions, in order; without one, Ok/Yes-No questions get the default.
    void answer(DlgResult r) { answers.enqueue(r); }
    void answerOpen(const QString& file) { openNames.enqueue(file); }
    void answerSave(const QString& file) { saveNames.enqueue(file); }
    // What to do when the next window is shown modally (it gets the window; returns its result).
    void onModal(std::function<int(QWidget*)> action) { modalActions.enqueue(std::move(action)); }

    QList<ShownMessage> messages;
    QList<QWidget*> modalShown;
    QStringList notices; // shown without waiting, in order
    QList<FileDialogRequest> fileRequests;
    DlgResult defaultAnswer = DlgResult::No;

    QStringList texts() const;
    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
    void clear();

    DlgResult message(const QString& text, DlgType type, DlgButtons buttons) override;
    QString openFile(const FileDialogRequest& r) override;
    QString saveFile(const FileDialogRequest& r) override;
    int showModal(QWidget* w) override;
    void notice(const QString& text) override { notices.append(text); }

private:
    QQueue<DlgResult> answers;
    QQueue<QString> openNames;
    QQueue<QString> saveNames;
    QQueue<std::function<int(QWidget*)>> modalActions;
};
