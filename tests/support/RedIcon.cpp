// A program whose only feature is its icon (red with a blue square in the middle), for the
// tests of the favourites list's own icons. Starting it does nothing.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
