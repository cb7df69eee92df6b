/*
 * What the simulated drivers and system DLLs share with the tools that drive them (simctl, the
 * test fixture): where the simulation keeps its controls, line states, request log and call log
 * in the registry, the layout of their records, and the private control device of the bus driver.
 *
 * Registry paths are relative to HKEY_LOCAL_MACHINE; the drivers put SIM_KERNEL_MACHINE in
 * front of them. Plain C: the drivers include it too.
 */
#ifndef SARVENTO_SIM_SHARED_H
#define SARVENTO_SIM_SHARED_H

#define SIM_KERNEL_MACHINE L"\\Registry\\Machine\\"

/* The simulation's own key. */
#define SIM_ROOT_KEY L"SOFTWARE\\SarventoSim"

/* Fault and timing controls, REG_DWORD values read by the drivers on every request and poll.
   A missing value means the default (0, or SIM_DEFAULT_CHILD_DELAY_MS). */
#define SIM_CONTROLS_KEY SIM_ROOT_KEY L"\\Controls"
#define SIM_CONTROL_REFUSE_PLUGIN L"RefusePlugIn"          /* the plug-in request fails */
#define SIM_CONTROL_CHILD_DELAY_MS L"ChildDelayMs"         /* gap before each new child */
#define SIM_CONTROL_CHILDREN_NEVER L"ChildrenNever"        /* the request succeeds, no child comes */
#define SIM_CONTROL_FRIENDLY_NAME_FORM L"FriendlyNameForm" /* a SimFriendlyNameForm */
#define SIM_CONTROL_HIDE_BUS_INTERFACE L"HideBusInterface" /* interface not listed as present */
#define SIM_CONTROL_HIDE_STATUS_DEVICE L"HideStatusDevice" /* the status device does not open */
#define SIM_CONTROL_FAIL_LINE_READ L"FailLineRead"         /* the line-state read fails */
#define SIM_CONTROL_FAIL_TRACE L"FailTrace"                /* the trace request fails */
#define SIM_CONTROL_COMDB_OPEN_FAILS L"ComDBOpenFails"     /* msports: ComDBOpen fails */
#define SIM_CONTROL_COMDB_REPORT_FAILS L"ComDBReportFails" /* msports: the usage report fails */
/* No device list can be made: SetupDiGetClassDevsW fails with ERROR_NOT_ENOUGH_MEMORY in every
   process that has the simulation's msports.dll loaded (every user of the COM-port database). */
#define SIM_CONTROL_DEVICE_LIST_FAILS L"DeviceListFails"
/* A device removal fails with ERROR_ACCESS_DENIED (SetupDiRemoveDevice, DIF_REMOVE) in the
   programs that have the simulation's msports.dll loaded. */
#define SIM_CONTROL_REMOVAL_FAILS L"RemovalFails"

#define SIM_DEFAULT_CHILD_DELAY_MS 40u

/* How the bus driver writes the friendly name of a new child. */
typedef enum SimFriendlyNameForm {
    SIM_FRIENDLY_NAME_STANDARD = 0, /* "Sarvento VCP (COM5)" */
    SIM_FRIENDLY_NAME_NO_BLANK = 1, /* "Sarvento VCP(COM5)" */
    SIM_FRIENDLY_NAME_TRAILING = 2, /* "Sarvento VCP (COM5) spare" */
    SIM_FRIENDLY_NAME_NONE = 3,     /* no friendly name at all */
    SIM_FRIENDLY_NAME_FORM_COUNT = 4
} SimFriendlyNameForm;

/* Line states: one REG_DWORD per COM number, the value named "%u" of the number. The low byte
   holds the line bits (LINESTATE_*); bits 8 to 15 hold the traffic bits (LINESTATE_RX,
   LINESTATE_TX shifted left by 8) that blink: the status device reports them on every other
   read. The bus driver deletes a port's value when the port's device goes. */
#define SIM_LINE_STATES_KEY SIM_ROOT_KEY L"\\LineStates"
#define SIM_TRAFFIC_SHIFT 8u

/* Request log: one subkey per driver (its service name), values "%04u" of the record's
   sequence number modulo SIM_LOG_RING_SIZE, each a REG_BINARY SimLogRecord. */
#define SIM_LOG_KEY SIM_ROOT_KEY L"\\Log"
#define SIM_LOG_RING_SIZE 1000u
#define SIM_LOG_INPUT_BYTES 16u

typedef struct SimLogRecord {
    unsigned int sequence;    /* 1, 2, ... per driver */
    unsigned int code;        /* the control code */
    unsigned int inputLength; /* as the caller gave them */
    unsigned int outputLength;
    int status;              /* NTSTATUS the request completed with */
    unsigned int inputSaved; /* how many bytes of input[] are the request's input */
    unsigned long long time; /* system time of the request, 100 ns units since 1601 */
    unsigned char input[SIM_LOG_INPUT_BYTES];
} SimLogRecord;

/* Call log of the simulation's system DLLs (msports.dll, newdev.dll): one subkey per DLL, values
   "%04u" of the record's sequence number modulo SIM_LOG_RING_SIZE, each a REG_BINARY
   SimCallRecord followed by textChars wide characters: the call's texts, each ended by a zero
   (a driver update's hardware id and INF path). The DLL's subkey also holds the last sequence
   number given, SIM_CALL_LOG_SEQUENCE; the processes that call share it under a named mutex. */
#define SIM_CALL_LOG_KEY SIM_ROOT_KEY L"\\Calls"
#define SIM_CALL_LOG_SEQUENCE L"Sequence"
#define SIM_CALL_LOG_MUTEX L"SarventoSimCallLog"
#define SIM_CALL_LOG_MSPORTS L"msports"
#define SIM_CALL_LOG_NEWDEV L"newdev"

typedef enum SimCallFunction {
    SIM_CALL_COMDB_OPEN = 1,
    SIM_CALL_COMDB_CLOSE = 2,
    SIM_CALL_COMDB_CLAIM_PORT = 3,
    SIM_CALL_COMDB_RELEASE_PORT = 4,
    SIM_CALL_COMDB_GET_CURRENT_PORT_USAGE = 5,
    SIM_CALL_COMDB_CLAIM_NEXT_FREE_PORT = 6,
    SIM_CALL_COMDB_RESIZE_DATABASE = 7,
    SIM_CALL_UPDATE_DRIVER = 8 /* UpdateDriverForPlugAndPlayDevicesW */
} SimCallFunction;

typedef struct SimCallRecord {
    unsigned int sequence;     /* 1, 2, ... per DLL */
    unsigned int function;     /* a SimCallFunction */
    unsigned int processId;    /* of the caller */
    unsigned int number;       /* the COM number (claim, release, next free), the new size (resize) */
    unsigned int flags;        /* the force flag (claim), the report type (usage), the install flags */
    int result;                /* the Win32 error returned (msports), the BOOL returned (newdev) */
    unsigned int lastError;    /* the thread's last error as the call returned (newdev) */
    unsigned int textChars;    /* wide characters after the record */
    unsigned long long window; /* the parent window passed (newdev) */
    unsigned long long time;   /* system time of the call, 100 ns units since 1601 */
} SimCallRecord;

/* The drivers' private control devices: requests that the tools send to make control changes
   take effect at once and to reset the machine. Not part of the product's contract. */
#define SIM_BUS_CONTROL_DEVICE_LEAF L"SarventoSimBusControl"
#define SIM_PORT_CONTROL_DEVICE_LEAF L"SarventoSimPortControl"
#define SIM_BUS_CONTROL_DEVICE_PATH L"\\\\.\\" SIM_BUS_CONTROL_DEVICE_LEAF
#define SIM_PORT_CONTROL_DEVICE_PATH L"\\\\.\\" SIM_PORT_CONTROL_DEVICE_LEAF
/* Device type 0x22 (unknown), functions 0x800 and 0x801, buffered, any access; no buffers. */
#define SIM_IOCTL_APPLY_CONTROLS 0x00222000u /* both drivers: apply the controls now */
#define SIM_IOCTL_RESET                                             \
    0x00222004u /* bus driver: forget every child and withdraw what \
                   it published */

/* Where Windows keeps the COM-port database: a REG_BINARY bitmap, bit n - 1 set when COM n is
   claimed, 32 bytes (256 numbers) unless it was resized. */
#define SIM_COMDB_KEY L"SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter"
#define SIM_COMDB_VALUE L"ComDB"
#define SIM_COMDB_MIN_BYTES 32u
#define SIM_COMDB_MAX_BYTES 512u /* 4096 numbers, the most a resize gives */

/* Name under which a child's COM name is published in HARDWARE\DEVICEMAP\SERIALCOMM. */
#define SIM_SERIALCOMM_NAME_FORMAT L"\\Device\\SarventoVcp%u"

#endif /* SARVENTO_SIM_SHARED_H */
