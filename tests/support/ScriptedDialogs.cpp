#include "support/ScriptedDialogs.h"

#include <QWidget>

namespace {
ScriptedDialogs* g_current = nullptr;
}

ScriptedDialogs* ScriptedDialogs::install() {
    auto owned = std::make_unique<ScriptedDialogs>();
    g_current = owned.get();
    Dialogs::setBackend(std::move(owned));
    return g_current;
}

void ScriptedDialogs::uninstall() {
    g_current = nullptr;
    Dialogs::setBackend(nullptr);
}

QStringList ScriptedDialogs::texts() const {
    QStringList out;
    for (const auto& m : messages)
        out << m.text;
    return out;
}

void ScriptedDialogs::clear() {
    messages.clear();
    modalShown.clear();
    fileRequests.clear();
    notices.clear();
}

DlgResult ScriptedDialogs::message(const QString& text, DlgType type, DlgButtons buttons) {
    messages.append({text, type, buttons});
    if (buttons == DlgButtons::Ok) {
        if (!answers.isEmpty() && answers.head() == DlgResult::Ok) answers.dequeue();
        return DlgResult::Ok;
    }
    if (!answers.isEmpty()) return answers.dequeue();
    return defaultAnswer;
}

QString ScriptedDialogs::openFile(const FileDialogRequest& r) {
    fileRequests.append(r);
    return openNames.isEmpty() ? QString() : openNames.dequeue();
}

QString ScriptedDialogs::saveFile(const FileDialogRequest& r) {
    fileRequests.append(r);
    return saveNames.isEmpty() ? QString() : saveNames.dequeue();
}

int ScriptedDialogs::showModal(QWidget* w) {
    modalShown.append(w);
    if (modalActions.isEmpty()) return 0;
    return modalActions.dequeue()(w);
}
