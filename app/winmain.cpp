#include "base/dll_search.h"
#include "base/startup_phases.h"
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
    markPhase("winmain");
    restrictDllSearchToSystem();
    useApplicationMessageBox(applicationMessageBox);
    try {
        Application->Initialize();
        Application->setTitle("Tarvosk");
        markPhase("application-window-made");
        Application->CreateForm(frmMain);
        markPhase("main-form-built");
        Application->CreateForm(frmAbout);
        markPhase("forms-built");
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
    }
    writePhases();
    return 0;
}
