// The floor: the bare platform calls that an action of the program must make, as a program of
// their own that links only the platform (setupapi, advapi32, msports, and for the dialog user32
// and comctl32), for the benchmarks to print beside the program's own figures.
#pragma once

#include <windows.h>

namespace floorbench {

unsigned Load();
// Apply of every present port's row: its values written into its subkey and its device's key,
// each opened once, then the port table loaded again.
unsigned Apply();
unsigned Delete();
unsigned Add(unsigned first, unsigned count);
unsigned ReadLineStates(DWORD milliseconds);
unsigned Usage();
// The Status tab's bare equivalent with rows ports, for the given time: the cell changes it drew.
unsigned Blink(DWORD milliseconds, int rows);
// The COM-number dialog's bare equivalent, shown until every tile has painted once; then closed.
unsigned Tiles();

}  // namespace floorbench
