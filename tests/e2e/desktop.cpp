#include "desktop.h"

#include "driver.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <memory>

namespace e2e {

namespace {

void writeFile(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// Removes whatever stands at `path`, a file or an empty directory.
void removePath(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileA(path.c_str()))
        RemoveDirectoryA(path.c_str());
}

std::string desktopShortcutPath() {
    std::string desktop = desktopFolder();
    // An interrupted run can leave the desktop redirected; "\\Tarvosk.lnk" would then
    // name a file at the root of the current drive.
    if (desktop.empty()) {
        ADD_FAILURE() << "the test prefix's desktop folder does not resolve";
        return "";
    }
    return desktop + "\\Tarvosk.lnk";
}

struct ComRelease {
    void operator()(IUnknown* p) const { p->Release(); }
};
template <class I> using Com = std::unique_ptr<I, ComRelease>;

class ComApartment {
  public:
    ComApartment() { CoInitialize(nullptr); }
    ~ComApartment() { CoUninitialize(); }
};

std::wstring wide(const std::string& text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(size > 0 ? size : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &out[0], size);
    out.pop_back();
    return out;
}

std::string narrow(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.pop_back();
    return out;
}

} // namespace

std::string desktopFolder() {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

ClearedPath::ClearedPath(std::string path) : path_(std::move(path)) {
    removePath(path_);
}

ClearedPath::~ClearedPath() {
    removePath(path_);
}

bool ClearedPath::exists() const {
    return fileExists(path_);
}

void ClearedPath::place() const {
    writeFile(path_, "not a shell link");
}

DesktopShortcut::DesktopShortcut() : ClearedPath(desktopShortcutPath()) {}

ShortcutView readShortcut(const std::string& path) {
    ComApartment com;
    ShortcutView view;
    IShellLinkW* rawLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&rawLink))))
        return view;
    Com<IShellLinkW> link(rawLink);
    IPersistFile* rawFile = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile))))
        return view;
    Com<IPersistFile> file(rawFile);
    view.loaded = file->Load(wide(path).c_str(), STGM_READ);
    if (view.loaded != S_OK)
        return view;
    wchar_t text[MAX_PATH] = L"";
    link->GetPath(text, MAX_PATH, nullptr, 0);
    view.target = narrow(text);
    text[0] = L'\0';
    link->GetWorkingDirectory(text, MAX_PATH);
    view.workingDirectory = narrow(text);
    text[0] = L'\0';
    link->GetDescription(text, MAX_PATH);
    view.description = narrow(text);
    return view;
}

} // namespace e2e
