/*
 * The simulation's device-list fault (SIM_CONTROL_DEVICE_LIST_FAILS): while it is set,
 * SetupDiGetClassDevsW fails as it does on Windows when the list cannot be allocated.
 *
 * Wine's SetupAPI never fails to make a list, so the fault is a layer over it in the processes
 * that load this DLL, in the manner of a verifier's low-resource simulation: the entry of
 * SetupDiGetClassDevsW jumps to a function that fails while the control is set and otherwise
 * asks SetupDiGetClassDevsExW, which SetupDiGetClassDevsW stands for, with the same arguments.
 */
#ifndef SARVENTO_SIM_DEVICE_LIST_FAULT_H
#define SARVENTO_SIM_DEVICE_LIST_FAULT_H

/* Runs once, as the DLL is loaded (SetupAPI is one of its imports, so it is there). A layer
   that cannot be put in place leaves SetupAPI as it is. */
void InstallDeviceListFault(void);

#endif /* SARVENTO_SIM_DEVICE_LIST_FAULT_H */
