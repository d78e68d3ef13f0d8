#include "app/application.h"
#include "app/self_check.h"
#include "app/startup.h"

#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    std::unique_ptr<SelfCheck> check;
    if (SelfCheckRequested(app.arguments()))
        check = std::make_unique<SelfCheck>(app, std::cout, std::cerr);
    return RunProgram(app);
}
