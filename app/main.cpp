// Process start-up: the application object, its one form, the message loop.
#include "ui/application.h"
#include "wizard/Unit1.h"

#include <exception>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ui::Application& application = ui::Application::instance();
    try {
        application.initialize();
        application.setTitle(L"Instalator");
        application.createForm(Form1);
        application.run();
    } catch (...) {
        // Only start-up can get here (a window that cannot be made): say so
        // instead of ending without a word.
        application.showException(std::current_exception());
        return 1;
    }
    return 0;
}
