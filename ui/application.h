// The application object: title, forms, message loop, and the error box for
// exceptions that escape an event.
#pragma once

#include "controls.h"
#include "dialogs.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Application {
public:
    static Application& instance();

    void initialize();
    const std::wstring& title() const { return title_; }
    void setTitle(std::wstring title) { title_ = std::move(title); }

    // Creates a form into `reference` before its creation event runs; the first
    // form created is the main form.
    template <class F>
    void createForm(F*& reference) {
        auto* form = new F;
        reference = form;
        forms_.emplace_back(form);
        if (!mainForm_) mainForm_ = form;
        form->loaded();
    }
    Form* mainForm() const { return mainForm_; }
    // Destroys every form; the application is as new again.
    void destroyForms();

    // Shows the main form and dispatches messages until the application ends.
    int run();
    void terminate();
    bool terminated() const { return terminated_; }

    // The simple message box: caption is the title, no icon, one OK.
    void showMessage(const std::wstring& text);
    // The error box for an exception that escaped an event.
    void showException(std::exception_ptr error) noexcept;

    Dialogs& dialogs() const { return *dialogs_; }
    // nullptr puts the system's dialogs back.
    void setDialogs(Dialogs* dialogs) { dialogs_ = dialogs ? dialogs : &systemDialogs(); }
    HWND dialogOwner() const;

private:
    Application();

    std::wstring title_;
    std::vector<std::unique_ptr<Form>> forms_;
    Form* mainForm_ = nullptr;
    Dialogs* dialogs_;
    bool running_ = false;
    bool terminated_ = false;
};

}  // namespace ui
