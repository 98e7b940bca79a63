#include "support/AppFixture.h"

#include "app/StartUp.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

AppFixture::AppFixture(const std::function<void(TempDataFolder&)>& prepare, const QString& subPath)
    : folder_(std::make_unique<TempDataFolder>(subPath)), dialogs_(ScriptedDialogs::install()) {
    if (prepare) prepare(*folder_);
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) StartUp::initApplication(*app);
    StartUp::createObjects();
    StartUp::showMainWindow();
    // Tests run the clock-driven handlers themselves, with the fake clock: no tick of a real
    // timer may land in the middle of a test.
    for (QWidget* w : QApplication::topLevelWidgets())
        for (QTimer* t : w->findChildren<QTimer*>())
            t->stop();
}

AppFixture::~AppFixture() {
    StartUp::destroyObjects();
    ScriptedDialogs::uninstall();
    folder_.reset();
}
