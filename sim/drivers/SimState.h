/*
 * The simulation's state that both drivers share through the registry: the fault and timing
 * controls (read fresh on every request and poll), the line states, and the request log.
 */
#ifndef SARVENTO_SIM_STATE_H
#define SARVENTO_SIM_STATE_H

#include <ntddk.h>

typedef struct SimControls {
    ULONG refusePlugIn;
    ULONG childDelayMs;
    ULONG childrenNever;
    ULONG friendlyNameForm; /* a SimFriendlyNameForm */
    ULONG hideBusInterface;
    ULONG hideStatusDevice;
    ULONG failLineRead;
    ULONG failTrace;
} SimControls;

/* Reads the controls; missing values (or a missing key) give the defaults. */
void SimReadControls(SimControls* controls);

/* Must run once in DriverEntry before the first SimLogRequest. driverName names the log. */
void SimLogInit(const WCHAR* driverName);

/* Appends one record to the driver's request log. Failures to write are not reported: the
   log serves the tests and must never change what the request returns. */
void SimLogRequest(ULONG code, const void* input, ULONG inputLength, ULONG outputLength, NTSTATUS status);

/* Line-state DWORD of a COM number (see SIM_LINE_STATES_KEY). */
NTSTATUS SimClearLineState(ULONG comNumber);
void SimClearAllLineStates(void);

#endif /* SARVENTO_SIM_STATE_H */
