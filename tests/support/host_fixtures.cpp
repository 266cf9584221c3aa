#include "host_fixtures.h"

#include "host/folders.h"
#include "temp_folder.h"

#include <sstream>

std::wstring hostFixture(const std::wstring& behaviour) {
    // Test programs live in <build>/tests, the fixtures in <build>/hosts.
    const std::wstring relative = host::executableFolder() + L"\\..\\hosts\\" + behaviour;
    wchar_t full[MAX_PATH];
    const DWORD length = GetFullPathNameW(relative.c_str(), MAX_PATH, full, nullptr);
    return length && length < MAX_PATH ? std::wstring(full, length) : relative;
}

std::wstring hostFixtureLibrary(const std::wstring& behaviour) {
    return hostFixture(behaviour) + L"\\KRYSTEMA.dll";
}

std::wstring hostHelperLibrary() {
    return host::executableFolder() + L"\\fixtures\\helper\\KRHELPER.dll";
}

bool hostLibraryLoaded(const std::wstring& folder) {
    return GetModuleHandleW((folder + L"\\KRYSTEMA.dll").c_str()) != nullptr;
}

HostTrace::HostTrace() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    wchar_t file[MAX_PATH];
    GetTempFileNameW(folder, L"krt", 0, file);
    path_ = file;
    SetEnvironmentVariableW(L"INSTALATOR_HOST_TRACE", path_.c_str());
}

HostTrace::~HostTrace() {
    SetEnvironmentVariableW(L"INSTALATOR_HOST_TRACE", nullptr);
    DeleteFileW(path_.c_str());
}

std::vector<std::string> HostTrace::events() const {
    std::istringstream lines(readFile(path_));
    std::vector<std::string> events;
    for (std::string line; std::getline(lines, line);)
        events.push_back(line.substr(line.find(' ') + 1));
    return events;
}

void HostTrace::clear() const {
    writeFile(path_, "");
}
