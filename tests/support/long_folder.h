#pragma once
// A folder whose own name fits a path while the names of the files in it do not.
// Made, filled and removed through the wide calls with the \\?\ prefix, which have
// no such limit; the code under test gets the names in the program's code page.
#include <windows.h>

#include <string>

// The \\?\ form of a full name, which the wide calls take past MAX_PATH.
inline std::wstring extendedName(const std::wstring& path) {
    return L"\\\\?\\" + path;
}

// Removes a folder and everything in it, however long the names inside.
inline void removeLongTree(const std::wstring& directory) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(extendedName(directory + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring full = directory + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeLongTree(full);
            else
                DeleteFileW(extendedName(full).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(extendedName(directory).c_str());
}

class LongFolder {
  public:
    // A fresh folder of exactly `length` characters in the temporary folder, named
    // after `tag` so that tests running at once keep apart.
    LongFolder(const std::string& tag, size_t length) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        root_ = std::string(temp) + tag + "_" + std::to_string(GetCurrentProcessId());
        removeTree(root_);
        CreateDirectoryW(extended(root_).c_str(), nullptr);
        path_ = root_ + "\\";
        if (path_.size() < length)
            path_ += std::string(length - path_.size(), 'L');
        path_.resize(length);
        made_ = CreateDirectoryW(extended(path_).c_str(), nullptr) != FALSE;
    }
    ~LongFolder() { removeTree(root_); }
    LongFolder(const LongFolder&) = delete;
    LongFolder& operator=(const LongFolder&) = delete;

    bool made() const { return made_; }
    // Without a trailing separator.
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

    bool write(const std::string& name, const std::string& bytes) const {
        HANDLE h = CreateFileW(extended(file(name)).c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0;
        bool whole =
            WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
        CloseHandle(h);
        return whole;
    }
    bool copy(const std::string& from, const std::string& name) const {
        return CopyFileW(wide(from).c_str(), extended(file(name)).c_str(), FALSE) != FALSE;
    }
    bool remove(const std::string& name) const {
        return DeleteFileW(extended(file(name)).c_str()) != FALSE;
    }
    bool exists(const std::string& name) const {
        return GetFileAttributesW(extended(file(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // The folder's short form as the system gives it, or "".
    std::string shortPath() const {
        wchar_t buffer[MAX_PATH];
        DWORD length = GetShortPathNameW(wide(path_).c_str(), buffer, MAX_PATH);
        return length > 0 && length < MAX_PATH ? narrow(std::wstring(buffer, length)) : "";
    }

    static std::wstring wide(const std::string& text) {
        int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
        std::wstring out(size > 0 ? size : 1, L'\0');
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &out[0], size);
        out.pop_back();
        return out;
    }
    static std::string narrow(const std::wstring& text) {
        int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string out(size > 0 ? size : 1, '\0');
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
        out.pop_back();
        return out;
    }

  private:
    static std::wstring extended(const std::string& path) { return extendedName(wide(path)); }

    static void removeTree(const std::string& directory) { removeLongTree(wide(directory)); }

    std::string root_, path_;
    bool made_ = false;
};
