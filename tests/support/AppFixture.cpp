#include "support/AppFixture.h"

#include "app/StartUp.h"

#include <QApplication>

AppFixture::AppFixture(const std::function<void(TempDataFolder&)>& prepare, const QString& subPath)
    : folder_(std::make_unique<TempDataFolder>(subPath)), dialogs_(ScriptedDialogs::install()) {
    if (prepare) prepare(*folder_);
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) StartUp::initApplication(*app);
    StartUp::createObjects();
    StartUp::showMainWindow();
}

AppFixture::~AppFixture() {
    StartUp::destroyObjects();
    ScriptedDialogs::uninstall();
    folder_.reset();
}
