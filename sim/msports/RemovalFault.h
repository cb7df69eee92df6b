/*
 * The simulation's removal fault (SIM_CONTROL_REMOVAL_FAILS): while it is set, a device removal
 * (SetupDiRemoveDevice, and SetupDiCallClassInstaller with DIF_REMOVE) fails with
 * ERROR_ACCESS_DENIED, as on Windows when a device may not be removed.
 *
 * Wine's SetupAPI removes whatever device it is given, so the fault is a layer over it in the
 * program that loads this DLL: the program's own imports of the two functions are pointed at
 * functions here, which fail while the control is set and otherwise call SetupAPI's.
 */
#ifndef SARVENTO_SIM_REMOVAL_FAULT_H
#define SARVENTO_SIM_REMOVAL_FAULT_H

/* Runs once, as the DLL is loaded, when the program's imports are already bound. A program that
   does not import the functions by name is left as it is. */
void InstallRemovalFault(void);

#endif /* SARVENTO_SIM_REMOVAL_FAULT_H */
