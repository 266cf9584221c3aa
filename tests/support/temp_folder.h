// A fresh folder under the temporary folder, removed with everything in it.
#pragma once

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    // Makes a sub-folder (and its parents) and returns its full path.
    std::wstring makeFolder(const std::wstring& relative) const;

private:
    std::wstring path_;
};

void writeFile(const std::wstring& path, const std::string& bytes);
std::string readFile(const std::wstring& path);
