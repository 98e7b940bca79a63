#include "support/FakeProgramLauncher.h"

FakeProgramLauncher* FakeProgramLauncher::install() {
    auto fake = std::make_unique<FakeProgramLauncher>();
    FakeProgramLauncher* p = fake.get();
    Launching::setLauncher(std::move(fake));
    return p;
}
