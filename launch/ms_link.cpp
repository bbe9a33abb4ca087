#include "ms_link.h"

#include "base/handles.h"
#include "base/system_library.h"

#include <objbase.h>
#include <shobjidl.h>

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
    wchar_t wide[MAX_PATH];
    if (!fitsAPath(linkName) ||
        !MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, linkName.c_str(), -1, wide, MAX_PATH)) {
        api.applicationMessageBox(notCreated, "Error", MB_OK);
        return false;
    }

    HRESULT saved = file->Save(wide, TRUE);
    if (saved != S_OK)
        api.messageBox(nullptr, "IPersistFile->Save() Error", "Error", MB_OK);
    // The file is released before the link by declaration order.
    return saved == S_OK;
}
