// Installation into the root of a drive, and onto a volume that fills up during
// the run. These share C:\SZABLONY of the prefix and the small volume.
#include "install_support.h"
#include "support/temp_folder.h"
#include "ui/text.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

const std::wstring kDriveTemplates = L"C:\\SZABLONY";

class DriveRootTest : public InstallTest {
protected:
    void SetUp() override {
        ASSERT_EQ(GetFileAttributesW(kDriveTemplates.c_str()), INVALID_FILE_ATTRIBUTES) << "left over by another run";
        ASSERT_TRUE(CreateDirectoryW(kDriveTemplates.c_str(), nullptr));
        wchar_t directory[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, directory);
        savedDirectory = directory;
        InstallTest::SetUp();
    }
    void TearDown() override {
        InstallTest::TearDown();
        SetCurrentDirectoryW(savedDirectory.c_str());
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(kDriveTemplates, ignored))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(kDriveTemplates, ignored);
    }

    std::wstring savedDirectory;
};

// As the manual choice leaves a drive's root: "X:" with no backslash.
TEST_F(DriveRootTest, BareDriveInstallsIntoTheTemplateFolderAtItsRoot) {
    installInto(L"C:");
    EXPECT_EQ(report(), kHeading + kSuccess);
    for (const ExpectedTemplate& entry : expectedTemplates())
        EXPECT_EQ(readFile(kDriveTemplates + L"\\" + fileNameOf(entry)), entry.bytes) << ui::narrow(entry.target);
    EXPECT_EQ(folderEntries(kDriveTemplates), templateFileNames());
}

// No host was found, so the root of the current drive is nobody's template folder.
TEST_F(DriveRootTest, EmptyHostFolderFailsAtTheFirstEntryWithoutTouchingTheCurrentDrive) {
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\"));
    const std::wstring first = kDriveTemplates + L"\\" + fileNameOf(expectedTemplates()[0]);
    writeFile(first, "someone else's template");
    const DWORD attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    ASSERT_TRUE(SetFileAttributesW(first.c_str(), attributes));

    installInto(L"");
    EXPECT_EQ(report(), kHeading + kFailure);
    EXPECT_EQ(progress(), L" ");
    EXPECT_TRUE(form().BitBtn1.enabled());
    EXPECT_EQ(readFile(first), "someone else's template");
    EXPECT_EQ(GetFileAttributesW(first.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), attributes);
    EXPECT_EQ(folderEntries(kDriveTemplates), std::set<std::wstring>{fileNameOf(expectedTemplates()[0])});
}

std::wstring fullDiskFolder() {
    std::wstring path = L"Z:" + ui::widen(FULL_DISK);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

ULONGLONG freeBytes(const std::wstring& folder) {
    ULARGE_INTEGER available{};
    EXPECT_TRUE(GetDiskFreeSpaceExW((folder + L"\\").c_str(), &available, nullptr, nullptr));
    return available.QuadPart;
}

class FullDiskTest : public InstallTest {
protected:
    void SetUp() override {
        std::ifstream reason(std::filesystem::path(fullDiskFolder() + L"\\reason"));
        if (reason) GTEST_SKIP() << std::string(std::istreambuf_iterator<char>(reason), {});
        volume = fullDiskFolder() + L"\\volume";
        if (!std::filesystem::exists(volume)) {
            volume.clear();
            GTEST_SKIP() << "no small volume: run through CTest, whose fixture mounts it";
        }
        ASSERT_TRUE(std::filesystem::is_empty(volume)) << "left over by another run";
        InstallTest::SetUp();
    }
    void TearDown() override {
        if (volume.empty()) return;
        InstallTest::TearDown();
        for (const auto& entry : std::filesystem::directory_iterator(volume))
            std::filesystem::remove_all(entry);
    }

    // Writes whole clusters until the volume takes no more.
    void fill(const std::wstring& path) {
        DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
        ASSERT_TRUE(
            GetDiskFreeSpaceW((volume + L"\\").c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters));
        clusterSize = sectorsPerCluster * bytesPerSector;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const std::string chunk(clusterSize, 'f');
        DWORD written = 0;
        while (WriteFile(file, chunk.data(), clusterSize, &written, nullptr) && written == clusterSize) {
        }
        CloseHandle(file);
    }

    std::wstring volume;
    DWORD clusterSize = 0;
};

TEST_F(FullDiskTest, VolumeFillingUpDuringTheRunLeavesNoTargetTruncatedAndNoTemporaryFile) {
    const size_t kRoomFor = 6;  // new targets that still fit; the next entry finds the volume full
    const std::wstring host = volume + L"\\host";
    const std::wstring templatesFolder = host + L"\\SZABLONY";
    std::filesystem::create_directories(templatesFolder);
    const auto& entries = expectedTemplates();
    for (size_t i = kRoomFor; i < entries.size(); ++i)
        writeFile(host + entries[i].target, "old " + std::to_string(i));
    // Each spacer holds one cluster; freed after the filling, they leave exactly that room.
    for (size_t i = 0; i < kRoomFor; ++i)
        writeFile(volume + L"\\spacer" + std::to_wstring(i), "s");
    fill(volume + L"\\filler");
    ASSERT_EQ(freeBytes(volume), 0u);
    for (size_t i = 0; i < kRoomFor; ++i)
        DeleteFileW((volume + L"\\spacer" + std::to_wstring(i)).c_str());
    ASSERT_EQ(freeBytes(volume), kRoomFor * clusterSize);

    installInto(host);
    EXPECT_EQ(report(), kHeading + kFailure);
    EXPECT_EQ(progress(), entries[kRoomFor].target);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i < kRoomFor)
            EXPECT_EQ(readFile(host + entries[i].target), entries[i].bytes) << ui::narrow(entries[i].target);
        else
            EXPECT_EQ(readFile(host + entries[i].target), "old " + std::to_string(i)) << ui::narrow(entries[i].target);
    }
    EXPECT_EQ(folderEntries(templatesFolder), templateFileNames()) << "a temporary file was left behind";
}

}  // namespace
