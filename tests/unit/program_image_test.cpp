#include "launch/program_image.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// A fresh folder of real files, removed with what is in it.
class Folder {
  public:
    Folder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "program_image_test_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~Folder() {
        for (const std::string& name : files_)
            DeleteFileA(file(name).c_str());
        RemoveDirectoryA(file("folder.com").c_str());
        RemoveDirectoryA(path_.c_str());
    }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }
    std::string write(const std::string& name, const std::string& bytes) {
        HANDLE h =
            CreateFileA(file(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
        files_.push_back(name);
        return file(name);
    }

  private:
    std::string path_;
    std::vector<std::string> files_;
};

// An MZ image whose newer-header offset (at 0x3C) is `offset`, with `signature`
// there when the offset lies inside the image.
std::string mz(unsigned offset, const std::string& signature, size_t size = 0x80,
               const char* magic = "MZ") {
    std::string image(size, '\0');
    image.replace(0, 2, magic);
    for (int i = 0; i < 4; ++i)
        image[0x3C + i] = static_cast<char>(offset >> (8 * i));
    if (offset + signature.size() <= image.size())
        image.replace(offset, signature.size(), signature);
    return image;
}

const char* name(ProgramKind kind) {
    switch (kind) {
    case ProgramKind::Dos:
        return "DOS";
    case ProgramKind::Windows:
        return "Windows";
    case ProgramKind::Windows16:
        return "16-bit Windows";
    case ProgramKind::NotFound:
        return "not found";
    case ProgramKind::Empty:
        return "empty";
    case ProgramKind::Unreadable:
        return "unreadable";
    }
    return "?";
}

TEST(ProgramImage, TellsTheKindByTheBytes) {
    struct Case {
        const char* what;
        std::string bytes;
        ProgramKind kind;
    };
    const Case cases[] = {
        {"a DOS .com image", std::string("\xBA\x45\x01\xB8\x01\x3D\xCD\x21", 8), ProgramKind::Dos},
        {"one byte", "\xC3", ProgramKind::Dos},
        {"just MZ", "MZ", ProgramKind::Dos},
        {"MZ shorter than its header", std::string("MZ") + std::string(0x30, '\0'),
         ProgramKind::Dos},
        {"MZ with offset 0", mz(0, ""), ProgramKind::Dos},
        {"MZ with offset inside the DOS header", mz(0x3F, "PE"), ProgramKind::Dos},
        {"MZ with offset past the end", mz(0x1000, "PE\0\0"), ProgramKind::Dos},
        {"MZ with offset at the very end", mz(0x80, "PE\0\0"), ProgramKind::Dos},
        {"MZ pointing at nothing known", mz(0x40, "XY\0\0"), ProgramKind::Dos},
        {"MZ + LE (DOS extender)", mz(0x40, "LE"), ProgramKind::Dos},
        {"MZ + LX (DOS extender)", mz(0x40, "LX"), ProgramKind::Dos},
        {"MZ + PE", mz(0x40, std::string("PE\0\0", 4)), ProgramKind::Windows},
        {"ZM + PE", mz(0x40, std::string("PE\0\0", 4), 0x80, "ZM"), ProgramKind::Windows},
        {"PE without its two zero bytes", mz(0x40, "PEx!"), ProgramKind::Dos},
        {"PE cut short by the end", mz(0x7E, "PE", 0x80), ProgramKind::Dos},
        {"MZ + NE", mz(0x40, "NE"), ProgramKind::Windows16},
        {"NE at the very end", mz(0x7E, "NE", 0x80), ProgramKind::Windows16},
        {"empty", "", ProgramKind::Empty},
    };
    Folder folder;
    int n = 0;
    for (const Case& c : cases) {
        std::string file = folder.write("case" + std::to_string(++n) + ".com", c.bytes);
        ProgramImage image = inspectProgram(file);
        EXPECT_STREQ(name(image.kind), name(c.kind)) << c.what;
    }
}

TEST(ProgramImage, MissingFilesAndFoldersAreNotFound) {
    Folder folder;
    CreateDirectoryA(folder.file("folder.com").c_str(), nullptr);
    struct Case {
        const char* what;
        std::string file;
        DWORD error;
    };
    const Case cases[] = {
        {"a missing file", folder.file("missing.com"), ERROR_FILE_NOT_FOUND},
        {"a file in a missing folder", folder.file("nodir\\tarvosk.com"), ERROR_PATH_NOT_FOUND},
        {"a folder by the program's name", folder.file("folder.com"), ERROR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        ProgramImage image = inspectProgram(c.file);
        EXPECT_STREQ(name(image.kind), "not found") << c.what;
        EXPECT_EQ(image.error, c.error) << c.what;
    }
}

TEST(ProgramImage, AFileHeldOpenByAnotherIsUnreadableWithTheSystemsReason) {
    Folder folder;
    std::string file = folder.write("held.com", "\xC3");
    HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ProgramImage image = inspectProgram(file);
    CloseHandle(held);
    EXPECT_STREQ(name(image.kind), "unreadable");
    EXPECT_EQ(image.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_STREQ(name(inspectProgram(file).kind), "DOS") << "once it is let go";
}

} // namespace
