// The program's entry point. It lives in its own file so that a program with an entry point of
// its own (the test programs) does not pull it in from the library.
#include "framework/app.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
