// The program's one application object. Kept out of app_core so that test programs, which
// bring their own entry point and objects, can link everything else.
#include "app/SarventoCtlApp.h"

CSVT_SarventoCtlApp theApp;
