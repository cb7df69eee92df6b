/*
 * The bus driver's children: the port devices it presents for the ports configured under its
 * Parameters key, the root device whose interface carries the plug-in request, and a system
 * thread that brings scheduled children up and notices children whose device was removed.
 * Every function takes the driver's one lock itself.
 */
#ifndef SARVENTO_BUS_CHILDREN_H
#define SARVENTO_BUS_CHILDREN_H

#include <ntddk.h>

#include "SimState.h"

/* Publishes the root device and its interface, publishes again the children that survived a
   restart (their device key and their port subkey still exist), and starts the thread. */
NTSTATUS ChildrenStart(void);

/* Stops the thread. What is published stays until the next reset or restart. */
void ChildrenStop(void);

/* The plug-in request: every port subkey without a child, present or scheduled, gets one,
   each controls->childDelayMs after the one before. A child whose device key is gone counts
   as absent at once, even before the poll has noticed its removal. */
void ChildrenPlugIn(const SimControls* controls);

/* Makes the current controls take effect now and looks for removed children. */
void ChildrenApplyControls(void);

/* Forgets every child and withdraws everything it published; publishes the root device and
   its interface again. */
void ChildrenReset(void);

/* Kernel name of the root device's interface link ("\DosDevices\ROOT#SVTMF3#0000#{...}"). */
BOOLEAN FormatBusInterfaceLink(WCHAR* buf, size_t cch);

#endif /* SARVENTO_BUS_CHILDREN_H */
