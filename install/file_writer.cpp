#include "file_writer.h"

#include "ui/error.h"

#include <string>
#include <utility>

namespace templates {

namespace {

// std::to_wstring would bring the whole printf family into the exe for this.
std::wstring decimal(unsigned long value) {
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + value % 10));
        value /= 10;
    } while (value);
    return digits;
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }
    HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    void close() { ui::check(CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)), "CloseHandle"); }

private:
    HANDLE handle_;
};

// Deleted unless it has become the target.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::wstring& target) : file_(create(target, path_)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (moved_) return;
        if (file_.get() != INVALID_HANDLE_VALUE) CloseHandle(file_.release());
        DeleteFileW(path_.c_str());
    }

    HANDLE handle() const { return file_.get(); }
    void moveOver(const std::wstring& target) {
        file_.close();
        ui::check(MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH),
                  "MoveFileExW");
        moved_ = true;
    }

private:
    // Next to the target, so that the move stays on its volume.
    static HANDLE create(const std::wstring& target, std::wstring& path) {
        const std::wstring stem = target + L"." + decimal(GetCurrentProcessId()) + L"-";
        for (unsigned attempt = 0;; ++attempt) {
            path = stem + decimal(attempt) + L".tmp";
            HANDLE handle =
                CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (handle != INVALID_HANDLE_VALUE) return handle;
            // A leftover of a run that was killed keeps its name; any other error is final.
            if (GetLastError() != ERROR_FILE_EXISTS || attempt == 99) ui::throwLastError("CreateFileW");
        }
    }

    std::wstring path_;
    Handle file_;
    bool moved_ = false;
};

}  // namespace

void replaceFile(const std::wstring& target, std::span<const BYTE> bytes) {
    // The move would replace a file that another program reads or writes at this
    // moment wherever the system allows it (a holder sharing deletion, or a rename
    // that ignores open handles). Opening the target the way an in-place write does,
    // without sharing, refuses it as such a write would; it also refuses a read-only
    // target or a folder before anything is written. Closed at once: the move needs
    // the target free.
    HANDLE existing = CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing != INVALID_HANDLE_VALUE)
        CloseHandle(existing);
    else if (GetLastError() != ERROR_FILE_NOT_FOUND)
        ui::throwLastError("CreateFileW");

    TemporaryFile temporary(target);
    DWORD written = 0;
    ui::check(WriteFile(temporary.handle(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr),
              "WriteFile");
    if (written != bytes.size()) {
        SetLastError(ERROR_DISK_FULL);
        ui::throwLastError("WriteFile");
    }
    ui::check(FlushFileBuffers(temporary.handle()), "FlushFileBuffers");
    temporary.moveOver(target);
}

}  // namespace templates
