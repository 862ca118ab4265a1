// The floor for start-up on Windows: a Win32 program that opens a frameless 640x480 window,
// presents one frame from a 32-bit back buffer with SetDIBitsToDevice (as the menu's Win32 backend
// does) and ends. bench/startup-wine.sh compares cdmenu.exe's start-up with this under Wine.
#include <windows.h>

#include <cstdint>
#include <vector>

int main() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"minimal_win32";
    if (!RegisterClassW(&wc)) return 1;
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"minimal", WS_POPUP, 100, 100, 640, 480, nullptr,
                                nullptr, wc.hInstance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOW);

    std::vector<std::uint32_t> pixels(640 * 480, 0x00465F87);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 640;
    bi.bmiHeader.biHeight = -480;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(hwnd);
    SetDIBitsToDevice(dc, 0, 0, 640, 480, 0, 0, 0, 480, pixels.data(), &bi, DIB_RGB_COLORS);
    GdiFlush();
    ReleaseDC(hwnd, dc);

    // Let the window system see the frame before leaving, as the menu's loop does.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    DestroyWindow(hwnd);
    return 0;
}
