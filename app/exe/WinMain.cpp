// Windows entry point of Vornakit_more.exe; all work is in Vornakit_more().
#include "app/Vornakit_more.h"
#include "toolkit/system/WinApi.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return Vornakit_more(); }
