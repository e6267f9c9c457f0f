// client-size TITLE: prints the client size of the top-level window of that title as Windows
// reports it, "WIDTHxHEIGHT", for the tests under wine: the X window that a window manager
// frames is not the client area. Aware of the DPI itself, so that Windows does not scale what
// it reports.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: client-size TITLE\n", stderr);
        return 2;
    }
    SetProcessDPIAware();
    const HWND window = FindWindowA(nullptr, argv[1]);
    RECT client{};
    // Hidden, it may still be being laid out.
    if (window == nullptr || IsWindowVisible(window) == 0 || GetClientRect(window, &client) == 0) {
        std::fprintf(stderr, "client-size: no window '%s' in sight\n", argv[1]);
        return 1;
    }
    std::printf("%ldx%ld\n", client.right, client.bottom);
    return 0;
}
