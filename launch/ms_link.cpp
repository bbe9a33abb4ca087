#include "ms_link.h"

#include "base/handles.h"
#include "base/system_library.h"

#include <objbase.h>
#include <shobjidl.h>

#include <vector>

namespace {

int (*handedInBox)(const std::string&, const std::string&, UINT) = nullptr;

int applicationBox(const std::string& text, const std::string& caption, UINT flags) {
    if (handedInBox)
        return handedInBox(text, caption, flags);
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), flags);
}

std::string joined(const std::string& folder, const std::string& name) {
    bool separated = !folder.empty() && folder.back() == '\\';
    return folder + (separated ? "" : "\\") + name;
}

// Counted in the characters the shell link keeps, not in bytes: with the UTF-8
// code page a name of few characters can take many bytes.
bool fitsAPath(const std::string& path) {
    int needed = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path.c_str(), -1, nullptr, 0);
    return needed > 0 && needed <= MAX_PATH;
}

// A wide name with its terminating null. A vector rather than std::wstring, whose
// instantiation alone would add a tenth to the executable.
using WideName = std::vector<wchar_t>;

WideName wide(const std::string& text) {
    int size = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.c_str(), -1, nullptr, 0);
    if (size <= 0)
        return {};
    WideName out(size);
    MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.c_str(), -1, out.data(), size);
    return out;
}

// A name beside `linkName` that no other launcher uses at the same time. Written
// with the \\?\ prefix, so that it need not fit a path where the link's own name
// just does.
WideName temporaryBeside(const WideName& linkName) {
    static unsigned counter = 0;
    static const wchar_t prefix[] = L"\\\\?\\";
    WideName out(prefix, prefix + 4);
    wchar_t full[MAX_PATH];
    DWORD length = GetFullPathNameW(linkName.data(), MAX_PATH, full, nullptr);
    if (length > 0 && length < MAX_PATH)
        out.insert(out.end(), full, full + length);
    else
        out.insert(out.end(), linkName.begin(), linkName.end() - 1);
    std::string suffix =
        "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    out.insert(out.end(), suffix.begin(), suffix.end());
    out.push_back(L'\0');
    return out;
}

// The temporary file, removed unless it was moved into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(WideName name) : name_(std::move(name)) {
        // Whatever stands there, a link to another file included, goes rather than
        // being written through.
        DeleteFileW(name_.data());
    }
    ~TemporaryFile() {
        if (!kept_)
            DeleteFileW(name_.data());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const wchar_t* name() const { return name_.data(); }

    // Replaces `target` in one step: a reader sees the old file or the new one,
    // and a link standing at `target` is replaced, not written through. Another
    // launcher replacing the same file at the same moment can hold it briefly.
    bool moveOver(const WideName& target) {
        for (int attempt = 0; attempt < 40; ++attempt) {
            if (MoveFileExW(name_.data(), target.data(), MOVEFILE_REPLACE_EXISTING)) {
                kept_ = true;
                return true;
            }
            DWORD error = GetLastError();
            if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)
                return false;
            Sleep(25);
        }
        return false;
    }

  private:
    WideName name_;
    bool kept_ = false;
};

} // namespace

const LinkApi& systemLinkApi() {
    static const LinkApi api{
        systemExport<decltype(&CoInitialize)>("ole32.dll", "CoInitialize"),
        systemExport<decltype(&CoCreateInstance)>("ole32.dll", "CoCreateInstance"),
        systemExport<decltype(&SHGetSpecialFolderLocation)>("shell32.dll",
                                                            "SHGetSpecialFolderLocation"),
        systemExport<decltype(&SHGetPathFromIDListA)>("shell32.dll", "SHGetPathFromIDListA"),
        MessageBoxA,
        applicationBox,
        systemExport<decltype(&CoTaskMemFree)>("ole32.dll", "CoTaskMemFree")};
    return api;
}

std::string msLink::shortcutFile(const std::string& folder, const std::string& name) {
    return joined(folder, name + ".lnk");
}

void useApplicationMessageBox(int (*box)(const std::string&, const std::string&, UINT)) {
    handedInBox = box;
}

std::string msLink::getSpecialFolder(int csidl) {
    static const char* const failure = "Could not get the location of a special folder";
    PIDLIST_ABSOLUTE raw = nullptr;
    HRESULT located = api.getSpecialFolderLocation(nullptr, csidl, &raw);
    OwnedIdList list(raw, {api.coTaskMemFree});
    if (located != S_OK) {
        api.messageBox(nullptr, failure, "Error", MB_OK);
        return "";
    }
    char path[MAX_PATH] = "";
    if (!api.getPathFromIdList(list.get(), path)) {
        api.messageBox(nullptr, failure, "Error", MB_OK);
        return "";
    }
    return path;
}

bool msLink::createShortcut(std::string directory, std::string fileName, std::string folder,
                            std::string name) {
    // "" is what getSpecialFolder hands back after its own box; saving it would put
    // the file at the root of whatever drive is current.
    if (folder.empty())
        return false;

    // COM stays initialised for the rest of the program; other parts may rely on it.
    api.coInitialize(nullptr);

    // A failed creation need not clear the out-pointer, so only a success is owned.
    // The ids come from their types: the uuid library would link in its whole table.
    IShellLinkA* created = nullptr;
    if (FAILED(api.coCreateInstance(__uuidof(ShellLink), nullptr, CLSCTX_INPROC_SERVER,
                                    __uuidof(IShellLinkA), reinterpret_cast<void**>(&created)))) {
        api.messageBox(nullptr, "Could not initialize COM", "Error", MB_OK);
        return false;
    }
    ComPtr<IShellLinkA> link;
    *link.out() = created;

    const std::string notCreated = "Could not create a shortcut in " + folder;
    // The shell link takes a longer target without complaint but saves only a
    // stump of it; a shortcut to the wrong file is worse than none.
    const std::string target = joined(directory, fileName);
    if (!fitsAPath(target)) {
        api.applicationMessageBox(notCreated, "Error", MB_OK);
        return false;
    }

    // A target that does not exist yet is not an error (the setter says S_FALSE);
    // the save alone decides.
    link->SetPath(target.c_str());
    link->SetWorkingDirectory(directory.c_str());
    link->SetDescription(name.c_str());

    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(__uuidof(IPersistFile), file.out()))) {
        api.applicationMessageBox(notCreated, "Error", MB_OK);
        return false;
    }

    // Measured before converting: a truncated name would save a different file.
    const std::string linkName = shortcutFile(folder, name);
    const WideName wideLinkName = wide(linkName);
    if (!fitsAPath(linkName) || wideLinkName.empty()) {
        api.applicationMessageBox(notCreated, "Error", MB_OK);
        return false;
    }

    // Saved whole under another name first: the link's own file is never seen
    // half written, by a crash or by a second launcher saving at the same time.
    TemporaryFile temporary(temporaryBeside(wideLinkName));
    HRESULT saved = file->Save(temporary.name(), TRUE);
    if (saved != S_OK || !temporary.moveOver(wideLinkName)) {
        api.messageBox(nullptr, "IPersistFile->Save() Error", "Error", MB_OK);
        return false;
    }
    // The file is released before the link by declaration order.
    return true;
}
