#include "app/dll_search.h"
#include "components/application.h"
#include "ui/about.h"
#include "ui/main.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    restrictDllSearchToSystem();
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
