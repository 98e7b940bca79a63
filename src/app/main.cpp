#include "app/StartUp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    StartUp::initApplication(app);
    StartUp::createObjects();
    StartUp::showMainWindow();
    const int rc = app.exec();
    StartUp::destroyObjects();
    return rc;
}
