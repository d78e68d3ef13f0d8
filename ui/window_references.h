#pragma once

// The application-wide window references. Each is set once, when its window
// has been built at start-up, and stays valid until the program ends; a
// window reaches another only through these.
class TForm1;
class TCSP;
class THelp;
class Tmes;
class TVOSP;
class TDinamic;
class Tjon;
class TTest;

extern TForm1* Form1;
extern TCSP* CSP;
extern THelp* Help;
extern Tmes* mes;
extern TVOSP* VOSP;
extern TDinamic* Dinamic;
extern Tjon* jon;
extern TTest* Test;
