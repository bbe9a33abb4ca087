#include "program_image.h"

#include "base/handles.h"

#include <cstring>

namespace {

// Reads up to `size` bytes at `offset`; false only when the system refuses.
bool readAt(HANDLE file, ULONGLONG offset, char* into, DWORD size, DWORD& read) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    read = 0;
    return ReadFile(file, into, size, &read, &at) || GetLastError() == ERROR_HANDLE_EOF;
}

ProgramImage unreadable() {
    return {ProgramKind::Unreadable, GetLastError()};
}

} // namespace

ProgramImage inspectProgram(const std::string& file) {
    DWORD attributes = GetFileAttributesA(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return {ProgramKind::NotFound, error};
        return {ProgramKind::Unreadable, error};
    }
    // A folder by the program's name is no program: the shell would open it.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return {ProgramKind::NotFound, ERROR_FILE_NOT_FOUND};

    OwnedFile handle(CreateFileA(file.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle)
        return unreadable();
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle.get(), &size))
        return unreadable();
    if (size.QuadPart == 0)
        return {ProgramKind::Empty};

    char header[0x40] = {};
    DWORD read;
    if (!readAt(handle.get(), 0, header, sizeof header, read))
        return unreadable();
    bool mz = read >= 2 &&
              ((header[0] == 'M' && header[1] == 'Z') || (header[0] == 'Z' && header[1] == 'M'));
    if (!mz || read < sizeof header)
        return {ProgramKind::Dos};

    // The offset of a newer header, which DOS itself never looks at: below the DOS
    // header or past the end of the file it is no such header.
    DWORD next;
    memcpy(&next, header + 0x3C, sizeof next);
    if (next < sizeof header || next >= static_cast<ULONGLONG>(size.QuadPart))
        return {ProgramKind::Dos};
    char signature[4] = {};
    if (!readAt(handle.get(), next, signature, sizeof signature, read))
        return unreadable();
    if (read == 4 && memcmp(signature, "PE\0\0", 4) == 0)
        return {ProgramKind::Windows};
    if (read >= 2 && memcmp(signature, "NE", 2) == 0)
        return {ProgramKind::Windows16};
    // LE and LX are DOS-extender programs; anything else is a plain DOS program.
    return {ProgramKind::Dos};
}
