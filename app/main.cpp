// Process start-up: the application object, its one form, the message loop.
#include "ui/application.h"
#include "wizard/Unit1.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ui::Application& application = ui::Application::instance();
    application.initialize();
    application.setTitle(L"Instalator");
    application.createForm(Form1);
    application.run();
    return 0;
}
