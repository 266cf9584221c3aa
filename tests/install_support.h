// What the installation must produce, derived from the fragments' pattern rather
// than copied from the resource files, and a wizard that goes straight to the
// installation page.
#pragma once

#include "support/form_fixture.h"
#include "support/wizard_texts.h"

#include <windows.h>

#include <set>
#include <string>
#include <vector>

struct ExpectedTemplate {
    const wchar_t* resource;  // as the run asks for it
    const wchar_t* target;    // relative to the host folder
    size_t size;
    std::string bytes;
};

// The 18 entries in the order the run writes them.
const std::vector<ExpectedTemplate>& expectedTemplates();
// The file name alone: "CHDIAPARATURA.rtf".
std::wstring fileNameOf(const ExpectedTemplate& entry);
// Names of the files and folders directly in `folder`.
std::set<std::wstring> folderEntries(const std::wstring& folder);
std::set<std::wstring> templateFileNames();

using wizard_texts::kFailure;
using wizard_texts::kHeading;
using wizard_texts::kSuccess;

// The real form with the detection page's events taken out, so that the host
// folder is whatever the test puts in HostLocation.
class InstallTest : public WizardTest {
protected:
    void SetUp() override;
    // Next, Next: from the welcome page through the detection page to the installation.
    void installInto(const std::wstring& hostLocation);
    std::wstring report() { return form().StaticText6.text(); }
    std::wstring progress() { return form().StaticText4.text(); }
};

// A handle that another program keeps on a file while the test runs.
class HeldFile {
public:
    HeldFile(const std::wstring& path, DWORD access, DWORD share);
    ~HeldFile() { release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    void release();

private:
    HANDLE handle_;
};
