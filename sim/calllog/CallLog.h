/*
 * The call log of the simulation's system DLLs (SIM_CALL_LOG_KEY in sim/SimShared.h): what
 * msports.dll and newdev.dll were asked, by whom, and what they answered, for the tests and
 * `simctl log`.
 */
#ifndef SARVENTO_SIM_CALL_LOG_H
#define SARVENTO_SIM_CALL_LOG_H

#include <windows.h>

#include "sim/SimShared.h"

/* Appends one record to the log of dll (SIM_CALL_LOG_MSPORTS, SIM_CALL_LOG_NEWDEV). The
   sequence number, process id and time are filled in here; texts holds record->textChars
   characters (or is NULL when there are none). A record that cannot be written is dropped: the
   log must never change what a call answers. The thread's last error is kept. */
void SimLogCall(const wchar_t* dll, SimCallRecord* record, const wchar_t* texts);

/* Whether a control (SIM_CONTROL_*) is set to a value other than 0. */
BOOL SimControlIsSet(const wchar_t* name);

#endif /* SARVENTO_SIM_CALL_LOG_H */
