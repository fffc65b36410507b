// The one application object and the program's entry point.
#include "app/mapp.h"

static mapp the_app;
mapp* papp = &the_app;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (!papp->InitInstance())
        return 0;
    return papp->Run();
}
