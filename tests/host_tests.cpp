// The host library probe and the fault barrier under it, over the fixture
// libraries of tests/fixtures.
#include "host/barrier.h"
#include "host/folders.h"
#include "host/library.h"
#include "host/registry.h"
#include "support/form_fixture.h"
#include "support/host_fixtures.h"
#include "support/host_key.h"
#include "support/temp_folder.h"
#include "ui/text.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;

host::ShortString shortString(const std::string& text) {
    host::ShortString result;
    result.bytes[0] = static_cast<unsigned char>(text.size());
    std::copy(text.begin(), text.end(), result.bytes.begin() + 1);
    return result;
}

const std::string kBefore = "przed sondowaniem";
const std::string kLaboratory = "Laboratorium Pomiarowe";
const std::string kPolishOwner =
    "Zak\xB3"
    "ad Bada\xF1 \xA3\xF3"
    "d\x9F";  // Zakład Badań Łódź in code page 1250

std::string owner255() {
    std::string owner;
    for (int i = 1; i <= 254; ++i)
        owner += static_cast<char>('a' + i % 26);
    return owner + 'Z';
}

// A library whose export lets an exception of its own language out.
#if defined(__SEH__)
const wchar_t* const kThrowing = L"cpp_throw";
#else
const wchar_t* const kThrowing = L"delphi_exception";
#endif

class ProbeTest : public WizardTest {
protected:
    void probe(const std::wstring& folder) {
        WizardState::hostLocation(form()) = folder;
        WizardState::probeHost(form());
    }
    bool found() { return WizardState::hostFound(form()); }
    bool network() { return WizardState::networkEdition(form()); }
    std::string owner() { return std::string(WizardState::ownerName(form()).text()); }

    HostTrace trace;
};

// ---------------------------------------------------------------- each fixture

struct ProbeCase {
    const wchar_t* behaviour;
    bool found;
    std::optional<bool> network;       // nullopt: the field keeps what it had
    std::optional<std::string> owner;  // nullopt: the field keeps what it had
    Events events;                     // what the library saw, load to unload
};

void PrintTo(const ProbeCase& c, std::ostream* os) {
    *os << ui::narrow(c.behaviour);
}

const Events kBoth{"attach", "TestSiec", "Wlasciciel", "detach"};

const ProbeCase kProbeCases[] = {
    {L"network", true, true, kPolishOwner, kBoth},
    {L"single", true, false, kLaboratory, kBoth},
    {L"testsiec2", true, true, kLaboratory, kBoth},
    {L"testsiec255", true, true, kLaboratory, kBoth},
    {L"testsiec256", true, false, kLaboratory, kBoth},
    {L"owner255", true, false, owner255(), kBoth},
    {L"owner_empty", true, false, "", kBoth},
    {L"overflow", true, false, std::string(255, 'X'), kBoth},
    {L"no_exports", true, std::nullopt, std::nullopt, {"attach", "detach"}},
    {L"only_testsiec", true, false, std::nullopt, {"attach", "TestSiec", "detach"}},
    {L"only_wlasciciel", true, std::nullopt, kLaboratory, {"attach", "Wlasciciel", "detach"}},
    {L"own_fault", true, true, "Obsluzone samodzielnie", {"attach", "TestSiec", "Wlasciciel", "handled", "detach"}},
    // An exception ends the queries: what was stored before it stays, nothing
    // of the library runs after it but its unloading.
    {L"faulting", false, false, std::nullopt, kBoth},
    {L"illegal_instruction", false, false, std::nullopt, kBoth},
    {L"raising", false, true, std::nullopt, kBoth},
#if defined(__SEH__)
    // On i686 GCC throws with its DWARF unwinder: a throw that leaves the library
    // finds no unwind data for the caller and the library's run time ends the
    // process itself. Only SEH targets make it an exception the barrier can stop.
    {L"cpp_throw", false, true, std::nullopt, {"attach", "TestSiec", "Wlasciciel", "cleanup", "detach"}},
#endif
    {L"divide_by_zero", false, std::nullopt, std::nullopt, {"attach", "TestSiec", "detach"}},
    {L"delphi_exception", false, std::nullopt, std::nullopt, {"attach", "TestSiec", "detach"}},
};

class FixtureProbeTest : public ProbeTest, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(FixtureProbeTest, RecordsTheAnswersAndLetsTheLibraryGo) {
    const ProbeCase& c = GetParam();
    const std::wstring folder = hostFixture(c.behaviour);
    // Both earlier editions, so that a field the probe leaves alone shows.
    for (const bool before : {false, true}) {
        SCOPED_TRACE(before ? "network edition before" : "single-station before");
        trace.clear();
        WizardState::networkEdition(form()) = before;
        WizardState::ownerName(form()) = shortString(kBefore);
        probe(folder);
        EXPECT_EQ(found(), c.found);
        EXPECT_EQ(network(), c.network.value_or(before));
        EXPECT_EQ(owner(), c.owner.value_or(kBefore));
        EXPECT_EQ(trace.events(), c.events);
        EXPECT_EQ(WizardState::hostLibrary(form()), nullptr);
        EXPECT_FALSE(hostLibraryLoaded(folder));
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureProbeTest, ::testing::ValuesIn(kProbeCases),
                         [](const ::testing::TestParamInfo<ProbeCase>& test) {
                             return ui::narrow(test.param.behaviour);
                         });

// ---------------------------------------------------------------- libraries that cannot be used

TEST_F(ProbeTest, LibraryThatCannotBeLoadedLeavesTheAnswersAlone) {
    TempFolder empty;
    TempFolder notALibrary;
    writeFile(notALibrary.path() + L"\\KRYSTEMA.dll", "MZ, but nothing more");
    TempFolder otherName;
    CopyFileW(hostFixtureLibrary(L"network").c_str(), (otherName.path() + L"\\krystema32.dll").c_str(), FALSE);
    struct Case {
        const char* name;
        std::wstring folder;
        bool started;  // the library's start-up ran (and failed)
    };
    const Case cases[] = {
        {"no library in the folder", empty.path(), false},
        {"a file that is no library", notALibrary.path(), false},
        {"a library of another name", otherName.path(), false},
        {"no such folder", empty.path() + L"\\missing", false},
        {"start-up says no", hostFixture(L"failing_startup"), true},
        {"start-up faults", hostFixture(L"faulting_startup"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        trace.clear();
        WizardState::networkEdition(form()) = true;
        WizardState::ownerName(form()) = shortString(kBefore);
        probe(c.folder);
        EXPECT_FALSE(found());
        EXPECT_TRUE(network());
        EXPECT_EQ(owner(), kBefore);
        // Whether the system tells a library whose start-up failed of its unloading is the system's affair.
        const Events events = trace.events();
        EXPECT_EQ(!events.empty() && events.front() == "attach", c.started);
        EXPECT_EQ(std::count(events.begin(), events.end(), "TestSiec"), 0);
        EXPECT_EQ(std::count(events.begin(), events.end(), "Wlasciciel"), 0);
        EXPECT_EQ(WizardState::hostLibrary(form()), nullptr);
        EXPECT_FALSE(hostLibraryLoaded(c.folder));
    }
}

// ---------------------------------------------------------------- one probe after another

TEST_F(ProbeTest, FirstProbeOfALibraryWithoutExportsKeepsTheDefaults) {
    probe(hostFixture(L"no_exports"));
    EXPECT_TRUE(found());
    EXPECT_FALSE(network());
    EXPECT_EQ(owner(), "");
}

TEST_F(ProbeTest, MissingExportsKeepTheAnswersOfAnEarlierFolder) {
    probe(hostFixture(L"network"));
    probe(hostFixture(L"no_exports"));
    EXPECT_TRUE(found());
    EXPECT_TRUE(network());
    EXPECT_EQ(owner(), kPolishOwner);
}

TEST_F(ProbeTest, FailedProbeIsFollowedByAWorkingOne) {
    // After each kind of exception the barrier is as new: the next probe works.
    for (const wchar_t* failing : {L"faulting", kThrowing, L"raising", L"divide_by_zero", L"faulting"}) {
        SCOPED_TRACE(ui::narrow(failing));
        probe(hostFixture(failing));
        EXPECT_FALSE(found());
        probe(hostFixture(L"single"));
        EXPECT_TRUE(found());
        EXPECT_FALSE(network());
        EXPECT_EQ(owner(), kLaboratory);
    }
}

TEST_F(ProbeTest, ReleasesTheLibraryExactlyOnce) {
    // The test holds a reference of its own: a second release by the probe would
    // take it away, a missing one would keep the library after the test lets go.
    for (const wchar_t* behaviour : {L"network", L"no_exports", L"faulting", kThrowing, L"raising"}) {
        SCOPED_TRACE(ui::narrow(behaviour));
        const std::wstring folder = hostFixture(behaviour);
        const HMODULE own = LoadLibraryW(hostFixtureLibrary(behaviour).c_str());
        ASSERT_NE(own, nullptr);
        probe(folder);
        EXPECT_TRUE(hostLibraryLoaded(folder));
        FreeLibrary(own);
        EXPECT_FALSE(hostLibraryLoaded(folder));
    }
}

// ---------------------------------------------------------------- where the library is looked for

TEST_F(ProbeTest, LibraryPathIsPlainConcatenation) {
    EXPECT_EQ(host::libraryPath(L"C:\\Kalmeron"), L"C:\\Kalmeron\\KRYSTEMA.dll");
    EXPECT_EQ(host::libraryPath(L"C:\\Kalmeron\\"), L"C:\\Kalmeron\\\\KRYSTEMA.dll");
    EXPECT_EQ(host::libraryPath(L" C:\\Kalmeron "), L" C:\\Kalmeron \\KRYSTEMA.dll");
    EXPECT_EQ(host::libraryPath(L""), L"\\KRYSTEMA.dll");
    EXPECT_EQ(host::libraryPath(L"C:"), L"C:\\KRYSTEMA.dll");
}

TEST_F(ProbeTest, FolderWithATrailingBackslashStillFindsTheLibrary) {
    probe(hostFixture(L"network") + L"\\");
    EXPECT_TRUE(found());
    EXPECT_EQ(owner(), kPolishOwner);
}

// A folder that is no full path would be looked up from the current drive and
// directory: whatever KRYSTEMA.dll sits there would run inside the wizard.
class CurrentDirectoryTest : public ProbeTest {
protected:
    void SetUp() override {
        ProbeTest::SetUp();
        GetCurrentDirectoryW(MAX_PATH, previous_);
    }
    void TearDown() override {
        SetCurrentDirectoryW(previous_);
        ProbeTest::TearDown();
    }

private:
    wchar_t previous_[MAX_PATH] = L"";
};

TEST_F(CurrentDirectoryTest, EmptyFolderLoadsNothingFromTheRootOfTheCurrentDrive) {
    const std::wstring planted = L"C:\\KRYSTEMA.dll";
    ASSERT_TRUE(CopyFileW(hostFixtureLibrary(L"network").c_str(), planted.c_str(), FALSE));
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\windows"));
    probe(L"");
    DeleteFileW(planted.c_str());
    EXPECT_FALSE(found());
    EXPECT_EQ(trace.events(), Events{});
    EXPECT_FALSE(hostLibraryLoaded(L"C:"));
}

TEST_F(CurrentDirectoryTest, RelativeFolderLoadsNothingFromTheCurrentDirectory) {
    ASSERT_TRUE(SetCurrentDirectoryW(hostFixture(L"").c_str()));
    for (const wchar_t* folder : {L"network", L".\\network", L"..\\hosts\\network", L"\\network"}) {
        SCOPED_TRACE(ui::narrow(folder));
        probe(folder);
        EXPECT_FALSE(found());
    }
    EXPECT_EQ(trace.events(), Events{});
}

// The host library's own dependencies come from its folder and the system
// folder, never from the wizard's folder, the current directory or PATH.
TEST_F(CurrentDirectoryTest, DependenciesOfTheLibraryComeFromItsOwnFolderOnly) {
    TempFolder hostFolder;
    ASSERT_TRUE(
        CopyFileW(hostFixtureLibrary(L"needs_helper").c_str(), (hostFolder.path() + L"\\KRYSTEMA.dll").c_str(), FALSE));
    TempFolder elsewhere;
    const std::wstring helper = elsewhere.path() + L"\\KRHELPER.dll";
    ASSERT_TRUE(CopyFileW(hostHelperLibrary().c_str(), helper.c_str(), FALSE));
    const std::wstring besideTheWizard = host::executableFolder() + L"\\KRHELPER.dll";

    wchar_t path[32768];
    const DWORD pathLength = GetEnvironmentVariableW(L"PATH", path, 32768);
    const std::wstring previousPath(path, pathLength);
    struct Case {
        const char* name;
        std::function<void()> place;
        std::function<void()> remove;
        bool found;
    };
    const Case cases[] = {
        {"in the wizard's folder", [&] { CopyFileW(helper.c_str(), besideTheWizard.c_str(), FALSE); },
         [&] { DeleteFileW(besideTheWizard.c_str()); }, false},
        {"in the current directory", [&] { SetCurrentDirectoryW(elsewhere.path().c_str()); }, [] {}, false},
        {"on PATH", [&] { SetEnvironmentVariableW(L"PATH", (elsewhere.path() + L";" + previousPath).c_str()); },
         [&] { SetEnvironmentVariableW(L"PATH", previousPath.c_str()); }, false},
        {"in the host folder",
         [&] { CopyFileW(helper.c_str(), (hostFolder.path() + L"\\KRHELPER.dll").c_str(), FALSE); }, [] {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.place();
        probe(hostFolder.path());
        c.remove();
        EXPECT_EQ(found(), c.found);
        EXPECT_EQ(network(), c.found);
        EXPECT_FALSE(hostLibraryLoaded(hostFolder.path()));
        EXPECT_EQ(GetModuleHandleW(L"KRHELPER.dll"), nullptr);
    }
}

TEST(FullPathTest, TellsFullPathsFromOthers) {
    struct Case {
        const wchar_t* path;
        bool full;
    };
    const Case cases[] = {
        {L"C:\\Kalmeron\\KRYSTEMA.dll", true},
        {L"c:/Kalmeron/KRYSTEMA.dll", true},
        {L"\\\\serwer\\Kalmeron\\KRYSTEMA.dll", true},
        {L"\\\\?\\C:\\Kalmeron\\KRYSTEMA.dll", true},
        {L"\\KRYSTEMA.dll", false},
        {L"C:KRYSTEMA.dll", false},
        {L"Kalmeron\\KRYSTEMA.dll", false},
        {L" C:\\Kalmeron\\KRYSTEMA.dll", false},
        {L"\\\\\\KRYSTEMA.dll", false},
        {L"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(host::isFullPath(c.path), c.full) << ui::narrow(c.path);
}

// ---------------------------------------------------------------- the barrier itself

struct BarrierCase {
    const char* name;
    void (*body)(void*);
    DWORD code;
};

void accessViolation(void*) {
    volatile ULONG_PTR address = 8;
    *reinterpret_cast<volatile int*>(address) = 1;
}
void illegalInstruction(void*) {
    __builtin_trap();
}
void divideByZero(void*) {
    volatile int ten = 10;
    volatile int zero = 0;
    volatile int quotient = ten / zero;
    (void)quotient;
}
void raiseOwnCode(void*) {
    RaiseException(0xE0000001, 0, 0, nullptr);
}
void raiseNoncontinuable(void*) {
    const ULONG_PTR arguments[] = {1, 2, 3};
    RaiseException(0x0EEDFADE, EXCEPTION_NONCONTINUABLE, 3, arguments);
}
void raiseZero(void*) {
    RaiseException(0, 0, 0, nullptr);
}
#if defined(__SEH__)
void throwCpp(void*) {
    throw std::runtime_error("thrown below the barrier");
}
#endif

const BarrierCase kBarrierCases[] = {
    {"access violation", accessViolation, EXCEPTION_ACCESS_VIOLATION},
    {"illegal instruction", illegalInstruction, EXCEPTION_ILLEGAL_INSTRUCTION},
    {"integer divide by zero", divideByZero, EXCEPTION_INT_DIVIDE_BY_ZERO},
    {"RaiseException", raiseOwnCode, 0xE0000001},
    {"non-continuable RaiseException", raiseNoncontinuable, 0x0EEDFADE},
    {"RaiseException with code 0", raiseZero, 0},
#if defined(__SEH__)
    {"C++ throw", throwCpp, 0x20474343},
#endif
};

TEST(BarrierTest, StopsEveryKindOfExceptionAndTellsItsCode) {
    for (const auto& c : kBarrierCases) {
        SCOPED_TRACE(c.name);
        DWORD code = 0xFFFFFFFF;
        EXPECT_FALSE(host::runGuarded(c.body, nullptr, &code));
        EXPECT_EQ(code, c.code);
    }
}

TEST(BarrierTest, BodyThatReturnsRunsToItsEnd) {
    int runs = 0;
    auto body = [&runs] { ++runs; };
    DWORD code = 0xFFFFFFFF;
    EXPECT_TRUE(host::guarded(body, &code));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(code, 0xFFFFFFFFu);
}

TEST(BarrierTest, InnerBarrierKeepsItsExceptionFromTheOuterOne) {
    bool inner = true;
    auto body = [&inner] { inner = host::runGuarded(accessViolation, nullptr); };
    EXPECT_TRUE(host::guarded(body));
    EXPECT_FALSE(inner);
}

TEST(BarrierTest, CallerStateSurvivesManyFaults) {
    // Values the caller keeps in registers and on its stack across the calls.
    volatile int onStack[16];
    for (int i = 0; i < 16; ++i)
        onStack[i] = i * 7;
    unsigned long long sum = 0;
    for (int i = 0; i < 1000; ++i) {
        if (!host::runGuarded(i % 2 ? accessViolation : raiseOwnCode, nullptr)) sum += static_cast<unsigned>(i);
    }
    EXPECT_EQ(sum, 999ull * 1000 / 2);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(onStack[i], i * 7);
}

// ---------------------------------------------------------------- the registry

TEST(RegistryTest, FailingReadOfTheDataGivesTheRegistryLayersMessage) {
    ScopedHostKey hostKey;
    hostKey.setLocation(L"C:\\Program Files\\Kalmeron");
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"ZeKalmeron", 0, KEY_READ, &key), ERROR_SUCCESS);
    // The value grew after its size was asked for.
    try {
        host::readStringData(key, L"Lokalizacja", 4);
        ADD_FAILURE() << "no error";
    } catch (const host::RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to get data for 'Lokalizacja'");
    }
    RegCloseKey(key);
}

TEST(RegistryTest, KeyIsOpenedForReadingOnly) {
    // A user who may read the key but not change it must still find the host.
    ScopedHostKey hostKey;
    hostKey.setLocation(L"C:\\Kalmeron");
    const host::RegistryKey key(HKEY_CURRENT_USER, L"ZeKalmeron");
    ASSERT_TRUE(key.isOpen());
    const std::string data = utf16Bytes(L"D:\\Inny");
    EXPECT_EQ(RegSetValueExW(key.handle(), L"Lokalizacja", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueW(key.handle(), L"Lokalizacja"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(key.readString(L"Lokalizacja"), L"C:\\Kalmeron");
}

}  // namespace
