// The fair reference for the start-up benchmark: the launcher's main window as
// one would write it directly against Win32, with nothing of the component layer.
// It shows what the launcher's first frame shows - the artwork, six native buttons
// in the launcher's font and tab order, the one-item menu, the icon - centred, at
// the screen's resolution, with the launcher's manifest; and it does no more. The
// buttons do nothing: clicks are not part of start-up.
#include "base/startup_phases.h"

#include <windows.h>

namespace {

constexpr char className[] = "RawLauncherWindow";
constexpr char caption[] = "Tarvosk by Edda Marrow - Kelvane";
constexpr int clientWidth = 400;
constexpr int clientHeight = 205;
constexpr int designDpi = 96;
constexpr int aboutCommand = 100;
constexpr RECT pictureRect{1, 4, 1 + 320, 4 + 200};

struct ButtonSpec {
    const char* caption;
    RECT bounds; // left, top, right, bottom at 96 dpi
};

// In tab order: the dialog manager tabs in window order.
constexpr ButtonSpec buttons[] = {
    {"&Single Play", {322, 6, 322 + 75, 6 + 23}},
    {"&Multi Play", {322, 30, 322 + 75, 30 + 23}},
    {"&Desktop Icon", {322, 134, 322 + 75, 134 + 25}},
    {"&Uninstall", {322, 160, 322 + 75, 160 + 23}},
    {"E&xit", {322, 184, 322 + 75, 184 + 19}},
    {"&Readme", {322, 54, 322 + 75, 54 + 25}},
};

int dpi = designDpi;

int scale(int value) {
    return MulDiv(value, dpi, designDpi);
}

RECT scale(const RECT& r) {
    return {scale(r.left), scale(r.top), scale(r.right), scale(r.bottom)};
}

template <typename T> struct GdiObject {
    explicit GdiObject(T h) : handle(h) {}
    ~GdiObject() {
        if (handle)
            DeleteObject(handle);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    const T handle;
};

struct Icon {
    explicit Icon(HICON h) : handle(h) {}
    ~Icon() {
        if (handle)
            DestroyIcon(handle);
    }
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;
    const HICON handle;
};

// The artwork is a packed DIB in the executable's mapped resources: painted from
// there, it is never copied.
struct Picture {
    const BITMAPINFO* info = nullptr;
    const void* bits = nullptr;

    bool load(HINSTANCE instance) {
        HRSRC found = FindResourceA(instance, "TARVOSK", RT_BITMAP);
        HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
        info = loaded ? static_cast<const BITMAPINFO*>(LockResource(loaded)) : nullptr;
        if (!info)
            return false;
        const BITMAPINFOHEADER& header = info->bmiHeader;
        DWORD colours = header.biClrUsed ? header.biClrUsed
                                         : (header.biBitCount <= 8 ? 1u << header.biBitCount : 0);
        bits = reinterpret_cast<const char*>(info) + header.biSize + colours * sizeof(RGBQUAD);
        return true;
    }
    int width() const { return info->bmiHeader.biWidth; }
    int height() const {
        LONG h = info->bmiHeader.biHeight;
        return h < 0 ? -h : h;
    }
};

Picture picture;

void paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT r = scale(pictureRect);
    bool whole =
        (r.right - r.left) % picture.width() == 0 && (r.bottom - r.top) % picture.height() == 0;
    SetStretchBltMode(dc, whole ? COLORONCOLOR : HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0, picture.width(),
                  picture.height(), picture.bits, picture.info, DIB_RGB_COLORS, SRCCOPY);
    EndPaint(window, &ps);
    markPhase("first-paint");
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    int value = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return value > 0 ? value : designDpi;
}

int run(HINSTANCE instance) {
    dpi = screenDpi();
    if (!picture.load(instance))
        return 1;
    Icon icon(
        static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                      GetSystemMetrics(SM_CYICON), 0)));
    Icon smallIcon(static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0)));
    GdiObject<HBRUSH> black(CreateSolidBrush(RGB(0, 0, 0)));
    LOGFONTA lf{};
    lf.lfHeight = MulDiv(-11, dpi, designDpi);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    // The bitmap face stays small when scaled: the launcher draws the dialog face then.
    lstrcpynA(lf.lfFaceName, dpi == designDpi ? "MS Sans Serif" : "MS Shell Dlg 2", LF_FACESIZE);
    GdiObject<HFONT> font(CreateFontIndirectA(&lf));

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = black.handle;
    wc.lpszClassName = className;
    if (!RegisterClassExA(&wc))
        return 1;

    // The menu belongs to the window from here on and goes with it.
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, aboutCommand, "&About");

    const DWORD style = WS_CAPTION | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    RECT frame{0, 0, scale(clientWidth), scale(clientHeight)};
    AdjustWindowRectEx(&frame, style, TRUE, exStyle);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HWND window = CreateWindowExA(exStyle, className, caption, style,
                                  (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                  (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                  nullptr, menu, instance, nullptr);
    if (!window) {
        DestroyMenu(menu);
        return 1;
    }
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.handle));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.handle));

    HWND first = nullptr;
    int id = aboutCommand + 1;
    for (const ButtonSpec& spec : buttons) {
        RECT r = scale(spec.bounds);
        HWND button = CreateWindowExA(
            0, "BUTTON", spec.caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, r.left,
            r.top, r.right - r.left, r.bottom - r.top, window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
        if (!button) {
            DestroyWindow(window);
            return 1;
        }
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font.handle), FALSE);
        if (!first)
            first = button;
    }
    markPhase("window-made");

    ShowWindow(window, SW_SHOW);
    markPhase("shown");
    SetForegroundWindow(window);
    SetFocus(first);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(window, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    markPhase("winmain");
    int result = run(instance);
    writePhases();
    return result;
}
