// What the built launcher.exe carries and tells Windows and Explorer about itself:
// its artwork and icon, its version resource and its manifest, read back from the file.
#include "launch_directory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string launcherPath() {
    return support::testProgramDirectory() + "\\..\\launcher.exe";
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

// The launcher as a data file, for its resources alone.
class LauncherModule {
  public:
    LauncherModule()
        : module_(LoadLibraryExA(launcherPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~LauncherModule() {
        if (module_)
            FreeLibrary(module_);
    }
    LauncherModule(const LauncherModule&) = delete;
    LauncherModule& operator=(const LauncherModule&) = delete;

    std::string resource(LPCSTR name, LPCSTR type) const {
        HRSRC info = module_ ? FindResourceA(module_, name, type) : nullptr;
        HGLOBAL data = info ? LoadResource(module_, info) : nullptr;
        const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
        return bytes ? std::string(bytes, SizeofResource(module_, info)) : std::string();
    }

  private:
    HMODULE module_;
};

TEST(LauncherResources, ArtworkIsA320By200PictureOf256ColoursUncompressed) {
    std::string bitmap = LauncherModule().resource("TARVOSK", MAKEINTRESOURCEA(2)); // RT_BITMAP
    // A resource keeps the file's bitmap without its 14-byte file header: 65,078 bytes
    // as a file are 40 for the header, 1,024 for the colour table and 64,000 pixels.
    ASSERT_EQ(bitmap.size(), 65078u - 14u);
    BITMAPINFOHEADER header;
    memcpy(&header, bitmap.data(), sizeof header);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 320);
    EXPECT_EQ(header.biHeight, 200);
    EXPECT_EQ(header.biBitCount, 8);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_TRUE(header.biClrUsed == 0 || header.biClrUsed == 256) << header.biClrUsed;
}

TEST(LauncherResources, ProgramIconIsOne32By32ImageOf16Colours) {
    LauncherModule launcher;
    std::string group = launcher.resource("MAINICON", MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    // The group: reserved, type 1, count; then one 14-byte entry per image.
    ASSERT_EQ(group.size(), 6u + 14u);
    const auto* bytes = reinterpret_cast<const unsigned char*>(group.data());
    EXPECT_EQ(bytes[4] | bytes[5] << 8, 1);
    EXPECT_EQ(bytes[6], 32);                  // width
    EXPECT_EQ(bytes[7], 32);                  // height
    EXPECT_EQ(bytes[8], 16);                  // colours
    EXPECT_EQ(bytes[12] | bytes[13] << 8, 4); // bits per pixel
    int id = bytes[18] | bytes[19] << 8;
    std::string image = launcher.resource(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3)); // RT_ICON
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    memcpy(&header, image.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64); // the colours and the transparency mask
    EXPECT_EQ(header.biBitCount, 4);
}

} // namespace
