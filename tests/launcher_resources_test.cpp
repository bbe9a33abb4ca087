// What the built launcher.exe tells Windows and Explorer about itself: its
// version resource and its manifest, read back from the file.
#include "driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string launcherPath() {
    return e2e::testProgramDirectory() + "\\..\\launcher.exe";
}

std::vector<char> versionInfo() {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(launcherPath().c_str(), &ignored);
    std::vector<char> info(size);
    if (size == 0 || !GetFileVersionInfoA(launcherPath().c_str(), 0, size, info.data()))
        info.clear();
    return info;
}

TEST(LauncherResources, VersionStringsAreThoseOfTarvosk) {
    std::vector<char> info = versionInfo();
    ASSERT_FALSE(info.empty()) << "no version resource, error " << GetLastError();

    // The string table must be the one the translation list names, or Explorer shows none.
    struct Translation {
        WORD language, codePage;
    };
    Translation* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, sizeof(Translation));
    char table[32];
    wsprintfA(table, "\\StringFileInfo\\%04x%04x\\", translation->language, translation->codePage);

    struct Expected {
        const char* key;
        const char* value;
    };
    const Expected strings[] = {
        {"CompanyName", "Kelvane"},
        {"FileDescription", "Tarvosk launcher"},
        {"FileVersion", "5.5"},
        {"InternalName", "launcher"},
        {"LegalCopyright", "Copyright (c) 1998 Ostrey for Kelvane"},
        {"OriginalFilename", "launcher.exe"},
        {"ProductName", "Tarvosk"},
        {"ProductVersion", "5.5"},
    };
    for (const Expected& e : strings) {
        char* value = nullptr;
        UINT chars = 0;
        std::string key = std::string(table) + e.key;
        ASSERT_TRUE(
            VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &chars))
            << e.key;
        EXPECT_STREQ(value, e.value) << e.key;
    }
}

TEST(LauncherResources, FixedVersionIsFiveFiveForFileAndProduct) {
    std::vector<char> info = versionInfo();
    ASSERT_FALSE(info.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(5, 5));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(5, 5));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "debug or pre-release flag";
}

std::string embeddedManifest() {
    HMODULE file = LoadLibraryExA(launcherPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!file)
        return "";
    std::string text;
    if (HRSRC found = FindResourceA(file, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        HGLOBAL loaded = LoadResource(file, found);
        text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(file, found));
    }
    FreeLibrary(file);
    return text;
}

TEST(LauncherResources, ManifestAsksForWhatTheLauncherNeeds) {
    std::string manifest = embeddedManifest();
    ASSERT_FALSE(manifest.empty()) << "no manifest at type 24, id 1";
    const char* required[] = {
        "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "publicKeyToken=\"6595b64144ccf1df\"",
        "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>", // 7
        "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>", // 8
        "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>", // 8.1
        "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>", // 10 and 11
        ">true/pm</dpiAware>",
        ">PerMonitorV2, PerMonitor</dpiAwareness>",
        ">UTF-8</activeCodePage>",
    };
    for (const char* entry : required)
        EXPECT_NE(manifest.find(entry), std::string::npos) << entry;
}

} // namespace
