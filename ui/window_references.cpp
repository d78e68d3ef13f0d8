#include "ui/window_references.h"

TForm1* Form1 = nullptr;
TCSP* CSP = nullptr;
THelp* Help = nullptr;
Tmes* mes = nullptr;
TVOSP* VOSP = nullptr;
TDinamic* Dinamic = nullptr;
Tjon* jon = nullptr;
TTest* Test = nullptr;
