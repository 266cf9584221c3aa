// The stand-in host libraries of this build (tests/fixtures) and what they
// report of themselves.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The folder that holds the fixture library of one behaviour: "network",
// "faulting"... as a full path.
std::wstring hostFixture(const std::wstring& behaviour);
// The fixture library itself, for copying into other folders.
std::wstring hostFixtureLibrary(const std::wstring& behaviour);

// KRHELPER.dll, which the "needs_helper" fixture imports.
std::wstring hostHelperLibrary();

// Whether a KRYSTEMA.dll loaded from `folder` is in the process now.
bool hostLibraryLoaded(const std::wstring& folder);

// While it lives, the fixture libraries append what they do to a fresh file:
// "attach", "TestSiec", "Wlasciciel", "cleanup", "handled", "detach".
class HostTrace {
public:
    HostTrace();
    ~HostTrace();
    HostTrace(const HostTrace&) = delete;
    HostTrace& operator=(const HostTrace&) = delete;

    // The events in the order they happened, without the behaviour's name.
    std::vector<std::string> events() const;
    void clear() const;

private:
    std::wstring path_;
};
