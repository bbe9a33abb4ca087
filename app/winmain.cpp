#include "base/dll_search.h"
#include "components/application.h"
#include "launch/link_api.h"
#include "ui/about.h"
#include "ui/main.h"

#include <windows.h>

namespace {

int applicationMessageBox(const std::string& text, const std::string& caption, UINT flags) {
    return Application->MessageBox(text, caption, flags);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    restrictDllSearchToSystem();
    useApplicationMessageBox(applicationMessageBox);
    try {
        Application->Initialize();
        Application->setTitle("Tarvosk");
        Application->CreateForm(frmMain);
        Application->CreateForm(frmAbout);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
    }
    return 0;
}
