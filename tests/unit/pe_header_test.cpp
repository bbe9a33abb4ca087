// The launcher's executable must be laid out at a random address (with the
// relocations to make that possible), must not run code from data pages, and
// must need nothing but Windows' own DLLs.
#include "launch_directory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<char> launcherBytes() {
    std::ifstream file(support::testProgramDirectory() + "\\..\\launcher.exe", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class PeHeader : public ::testing::Test {
  protected:
    void SetUp() override {
        bytes_ = launcherBytes();
        ASSERT_GE(bytes_.size(), sizeof(IMAGE_DOS_HEADER));
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes_.data());
        ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
        ASSERT_LE(static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64), bytes_.size());
        nt_ = reinterpret_cast<const IMAGE_NT_HEADERS64*>(bytes_.data() + dos->e_lfanew);
        ASSERT_EQ(nt_->Signature, IMAGE_NT_SIGNATURE);
        ASSERT_EQ(nt_->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
    }

    std::vector<char> bytes_;
    const IMAGE_NT_HEADERS64* nt_ = nullptr;
};

TEST_F(PeHeader, AddressRandomisationAndDataExecutionPreventionAreOn) {
    struct Flag {
        const char* name;
        WORD bit;
    };
    const Flag flags[] = {
        {"DYNAMIC_BASE", IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE},
        {"HIGH_ENTROPY_VA", IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA},
        {"NX_COMPAT", IMAGE_DLLCHARACTERISTICS_NX_COMPAT},
    };
    WORD characteristics = nt_->OptionalHeader.DllCharacteristics;
    for (const Flag& f : flags)
        EXPECT_TRUE(characteristics & f.bit)
            << f.name << " missing from 0x" << std::hex << characteristics;
}

TEST_F(PeHeader, RelocationsAreKeptSoThatTheImageCanMove) {
    EXPECT_FALSE(nt_->FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED);
    const IMAGE_DATA_DIRECTORY& relocations =
        nt_->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC];
    EXPECT_NE(relocations.VirtualAddress, 0u);
    EXPECT_GT(relocations.Size, 0u);
}

// The file offset of a relative virtual address, through the section table.
size_t fileOffset(const IMAGE_NT_HEADERS64* nt, DWORD rva) {
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section)
        if (rva >= section->VirtualAddress &&
            rva < section->VirtualAddress + section->Misc.VirtualSize)
            return rva - section->VirtualAddress + section->PointerToRawData;
    return 0;
}

TEST_F(PeHeader, ImportsWindowsSystemDllsOnly) {
    const IMAGE_DATA_DIRECTORY& imports =
        nt_->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    size_t at = fileOffset(nt_, imports.VirtualAddress);
    ASSERT_NE(at, 0u);
    std::vector<std::string> names;
    for (;; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        ASSERT_LE(at + sizeof(IMAGE_IMPORT_DESCRIPTOR), bytes_.size());
        IMAGE_IMPORT_DESCRIPTOR descriptor;
        memcpy(&descriptor, bytes_.data() + at, sizeof descriptor);
        if (descriptor.Name == 0)
            break;
        size_t name = fileOffset(nt_, descriptor.Name);
        ASSERT_NE(name, 0u);
        names.push_back(bytes_.data() + name);
    }
    // No runtime DLL of the compiler's (those are linked in), and not the shell or COM
    // either: they are loaded from the system directory when an action needs them.
    const char* const system[] = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"};
    EXPECT_FALSE(names.empty());
    for (const std::string& dll : names) {
        bool known = false;
        for (const char* s : system)
            known = known || lstrcmpiA(dll.c_str(), s) == 0;
        EXPECT_TRUE(known) << dll << " is imported";
    }
}

} // namespace
