#include "BusChildren.h"

#include <initguid.h>
#include <ntddser.h>

#include "ComDbClaim.h"
#include "InterfaceKeys.h"
#include "KernelRegistry.h"
#include "contract/DriverInterface.h"
#include "sim/SimShared.h"

#define MACHINE L"\\Registry\\Machine\\"
#define PARAMETERS_PATH MACHINE SVT_PARAMETERS_KEY
#define PORT_ENUM_PATH MACHINE L"SYSTEM\\CurrentControlSet\\Enum\\" SVT_PORT_HARDWARE_ID
#define SVTMF3_ENUM_PATH MACHINE L"SYSTEM\\CurrentControlSet\\Enum\\SVTMF3"
#define SERIALCOMM_PATH MACHINE L"HARDWARE\\DEVICEMAP\\SERIALCOMM"
#define COMPORT_CLASSES_PATH \
    MACHINE L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{86e0d1e0-8089-11d0-9ce4-08003e301f73}"

#define BUS_INSTANCE_ID L"ROOT\\SVTMF3\\0000"
#define BUS_ENUM_PATH MACHINE L"SYSTEM\\CurrentControlSet\\Enum\\" BUS_INSTANCE_ID
#define BUS_DEVICE_DESC L"Sarvento VCP Bus Enumerator"
#define SYSTEM_CLASS_GUID L"{4d36e97d-e325-11ce-bfc1-08002be10318}"
#define PORTS_CLASS_GUID L"{4d36e978-e325-11ce-bfc1-08002be10318}"

#define MAX_COM_NUMBER 255
#define PATH_CHARS 300
#define NAME_CHARS 128
#define POLL_INTERVAL (100 * 10000LL) /* 100 ms in 100 ns units */
#define MS_TO_TIME(ms) ((LONGLONG)(ms)*10000LL)

typedef struct ChildState {
    BOOLEAN present;
    LONGLONG due; /* interrupt time at which a scheduled child appears; 0 when none is */
} ChildState;

static ChildState g_children[MAX_COM_NUMBER + 1]; /* indexed by COM number */
static LONGLONG g_lastDue;
static BOOLEAN g_busLinked;
static FAST_MUTEX g_lock;
static KEVENT g_wake;
static volatile LONG g_stopping;
static HANDLE g_thread;

/* Declared by ntifs.h, which a driver of this kind does not otherwise need. */
NTSYSAPI NTSTATUS NTAPI ZwWaitForSingleObject(HANDLE handle, BOOLEAN alertable, PLARGE_INTEGER timeout);

static LONGLONG Now(void)
{
    return (LONGLONG)KeQueryInterruptTime();
}

/* A port subkey name is four decimal digits naming a COM number from 1 to 255. */
static BOOLEAN ParseKeyNumber(const WCHAR* name, ULONG* number)
{
    ULONG value = 0;
    int i;

    for (i = 0; i < 4; ++i) {
        if (name[i] < L'0' || name[i] > L'9')
            return FALSE;
        value = value * 10 + (ULONG)(name[i] - L'0');
    }
    if (name[4] != 0 || value < 1 || value > MAX_COM_NUMBER)
        return FALSE;
    *number = value;
    return TRUE;
}

/* A child instance name is eight hexadecimal digits of its COM number. */
static BOOLEAN ParseInstanceNumber(const WCHAR* name, ULONG* number)
{
    ULONG value = 0;
    int i;

    for (i = 0; i < 8; ++i) {
        WCHAR c = name[i];
        ULONG digit;
        if (c >= L'0' && c <= L'9')
            digit = (ULONG)(c - L'0');
        else if (c >= L'A' && c <= L'F')
            digit = (ULONG)(c - L'A' + 10);
        else if (c >= L'a' && c <= L'f')
            digit = (ULONG)(c - L'a' + 10);
        else
            return FALSE;
        value = value * 16 + digit;
    }
    if (name[8] != 0 || value < 1 || value > MAX_COM_NUMBER)
        return FALSE;
    *number = value;
    return TRUE;
}

static BOOLEAN FormatInstanceId(ULONG comNumber, WCHAR* buf, size_t cch)
{
    return KrFormat(buf, cch, L"%s\\%08X", SVT_PORT_HARDWARE_ID, comNumber);
}

static BOOLEAN PortSubkeyExists(ULONG comNumber)
{
    WCHAR path[PATH_CHARS];

    return KrFormat(path, PATH_CHARS, L"%s\\%04u", PARAMETERS_PATH, comNumber) && KrKeyExists(path);
}

static BOOLEAN ChildDeviceExists(ULONG comNumber)
{
    WCHAR path[PATH_CHARS];

    return KrFormat(path, PATH_CHARS, L"%s\\%08X", PORT_ENUM_PATH, comNumber) && KrKeyExists(path);
}

static NTSTATUS WriteFriendlyName(HANDLE key, ULONG comNumber, ULONG form)
{
    WCHAR name[NAME_CHARS];
    const WCHAR* format;

    switch (form) {
        case SIM_FRIENDLY_NAME_NONE:
            return STATUS_SUCCESS;
        case SIM_FRIENDLY_NAME_NO_BLANK:
            format = L"%s(COM%u)";
            break;
        case SIM_FRIENDLY_NAME_TRAILING:
            format = L"%s (COM%u) spare";
            break;
        default:
            format = L"%s (COM%u)";
            break;
    }
    if (!KrFormat(name, NAME_CHARS, format, SVT_PORT_DEVICE_DESC, comNumber))
        return STATUS_NAME_TOO_LONG;
    return KrSetString(key, L"FriendlyName", name);
}

/* The child's device key, as Plug and Play writes it for an installed port, and its
   Device Parameters key. */
static NTSTATUS WriteChildDevice(ULONG comNumber, ULONG friendlyNameForm)
{
    WCHAR path[PATH_CHARS];
    WCHAR hardwareIds[NAME_CHARS];
    WCHAR portName[16];
    size_t first;
    HANDLE key;
    NTSTATUS status;

    /* REG_MULTI_SZ: the common id, then the id of this port, each ended by a zero. */
    if (!KrFormat(hardwareIds, NAME_CHARS, L"%s", SVT_PORT_HARDWARE_ID))
        return STATUS_NAME_TOO_LONG;
    first = wcslen(hardwareIds) + 1;
    if (!KrFormat(hardwareIds + first, NAME_CHARS - first - 1, L"%s%08x", SVT_PORT_HARDWARE_ID_PREFIX, comNumber))
        return STATUS_NAME_TOO_LONG;
    hardwareIds[first + wcslen(hardwareIds + first) + 1] = 0;

    if (!KrFormat(path, PATH_CHARS, L"%s\\%08X", PORT_ENUM_PATH, comNumber) ||
        !KrFormat(portName, 16, L"COM%u", comNumber))
        return STATUS_NAME_TOO_LONG;
    status = KrCreateKeyPath(path, FALSE, &key);
    if (!NT_SUCCESS(status))
        return status;
    status = KrSetString(key, L"DeviceDesc", SVT_PORT_DEVICE_DESC);
    if (NT_SUCCESS(status))
        status = WriteFriendlyName(key, comNumber, friendlyNameForm);
    if (NT_SUCCESS(status))
        status = KrSetString(key, L"Service", SVT_PORT_SERVICE_NAME);
    if (NT_SUCCESS(status))
        status = KrSetMultiString(key, L"HardwareID", hardwareIds);
    if (NT_SUCCESS(status))
        status = KrSetString(key, L"Class", L"Ports");
    if (NT_SUCCESS(status))
        status = KrSetString(key, L"ClassGUID", PORTS_CLASS_GUID);
    ZwClose(key);
    if (!NT_SUCCESS(status))
        return status;

    if (!KrFormat(path, PATH_CHARS, L"%s\\%08X\\Device Parameters", PORT_ENUM_PATH, comNumber))
        return STATUS_NAME_TOO_LONG;
    status = KrCreateKeyPath(path, FALSE, &key);
    if (!NT_SUCCESS(status))
        return status;
    status = KrSetString(key, L"PortName", portName);
    ZwClose(key);
    return status;
}

static NTSTATUS PublishSerialComm(ULONG comNumber)
{
    WCHAR name[NAME_CHARS];
    WCHAR portName[16];
    HANDLE key;
    NTSTATUS status;

    if (!KrFormat(name, NAME_CHARS, SIM_SERIALCOMM_NAME_FORMAT, comNumber) ||
        !KrFormat(portName, 16, L"COM%u", comNumber))
        return STATUS_NAME_TOO_LONG;
    status = KrCreateKeyPath(SERIALCOMM_PATH, TRUE, &key);
    if (!NT_SUCCESS(status))
        return status;
    status = KrSetString(key, name, portName);
    ZwClose(key);
    return status;
}

static void WithdrawSerialComm(ULONG comNumber)
{
    WCHAR name[NAME_CHARS];
    HANDLE key;

    if (!KrFormat(name, NAME_CHARS, SIM_SERIALCOMM_NAME_FORMAT, comNumber))
        return;
    if (!NT_SUCCESS(KrOpenKey(SERIALCOMM_PATH, &key)))
        return;
    KrDeleteValue(key, name);
    ZwClose(key);
}

/* Makes the child fully present: device key first, then its claim in the COM-port database
   (as Windows' Ports class installer claims the number of a port device it installs), then its
   enabled COM-port interface, then its COM name, so that nobody sees a device without its
   claim or names, or a COM name without a device. */
static NTSTATUS PresentChild(ULONG comNumber, ULONG friendlyNameForm)
{
    WCHAR instanceId[NAME_CHARS];
    NTSTATUS status;

    if (!FormatInstanceId(comNumber, instanceId, NAME_CHARS))
        return STATUS_NAME_TOO_LONG;
    status = WriteChildDevice(comNumber, friendlyNameForm);
    if (NT_SUCCESS(status))
        status = ClaimComNumber(comNumber);
    if (NT_SUCCESS(status))
        status = RegisterInterface(&GUID_DEVINTERFACE_COMPORT, instanceId, TRUE);
    if (NT_SUCCESS(status))
        status = PublishSerialComm(comNumber);
    return status;
}

/* What the port driver publishes for a port goes when the port's device goes: its COM name,
   its line state and its interface. deleteDevice also deletes the device key itself. */
static void WithdrawChild(ULONG comNumber, BOOLEAN deleteDevice)
{
    WCHAR instanceId[NAME_CHARS];
    WCHAR path[PATH_CHARS];

    WithdrawSerialComm(comNumber);
    SimClearLineState(comNumber);
    if (FormatInstanceId(comNumber, instanceId, NAME_CHARS))
        UnregisterInterface(&GUID_DEVINTERFACE_COMPORT, instanceId);
    if (deleteDevice && KrFormat(path, PATH_CHARS, L"%s\\%08X", PORT_ENUM_PATH, comNumber))
        KrDeleteTree(path);
    g_children[comNumber].present = FALSE;
    g_children[comNumber].due = 0;
}

/* When the port devices' parent key last changed, as the last look for removed children saw
   it. Removing a device deletes its key, which changes the parent's time: the children are
   looked at one by one only after that, not on every poll. */
static LARGE_INTEGER g_portEnumTime;

static void CheckRemovedChildren(void)
{
    LARGE_INTEGER changed;
    ULONG n;

    if (NT_SUCCESS(KrQueryLastWriteTime(PORT_ENUM_PATH, &changed))) {
        if (changed.QuadPart == g_portEnumTime.QuadPart)
            return;
        g_portEnumTime = changed;
    }
    for (n = 1; n <= MAX_COM_NUMBER; ++n) {
        if (g_children[n].present && !ChildDeviceExists(n))
            WithdrawChild(n, FALSE);
    }
}

/* Brings up, in order, the scheduled children whose time has come. A child whose port subkey
   was deleted while it waited is dropped. */
static void PresentDueChildren(LONGLONG now)
{
    SimControls controls;
    BOOLEAN readControls = FALSE;

    for (;;) {
        ULONG next = 0;
        ULONG n;
        for (n = 1; n <= MAX_COM_NUMBER; ++n) {
            LONGLONG due = g_children[n].due;
            if (due != 0 && due <= now && (next == 0 || due < g_children[next].due))
                next = n;
        }
        if (next == 0)
            return;
        g_children[next].due = 0;
        if (!PortSubkeyExists(next))
            continue;
        if (!readControls) {
            SimReadControls(&controls);
            readControls = TRUE;
        }
        SimClearLineState(next);
        if (NT_SUCCESS(PresentChild(next, controls.friendlyNameForm)))
            g_children[next].present = TRUE;
        else
            WithdrawChild(next, TRUE);
    }
}

static LONGLONG NextDue(void)
{
    LONGLONG next = 0;
    ULONG n;

    for (n = 1; n <= MAX_COM_NUMBER; ++n) {
        LONGLONG due = g_children[n].due;
        if (due != 0 && (next == 0 || due < next))
            next = due;
    }
    return next;
}

static NTSTATUS PublishBusDevice(BOOLEAN linked)
{
    WCHAR hardwareIds[32];
    HANDLE key;
    NTSTATUS status;
    size_t length;

    if (!KrFormat(hardwareIds, 32, L"%s", SVT_BUS_HARDWARE_ID))
        return STATUS_NAME_TOO_LONG;
    length = wcslen(hardwareIds);
    hardwareIds[length + 1] = 0;

    status = KrCreateKeyPath(BUS_ENUM_PATH, FALSE, &key);
    if (!NT_SUCCESS(status))
        return status;
    status = KrSetString(key, L"DeviceDesc", BUS_DEVICE_DESC);
    if (NT_SUCCESS(status))
        status = KrSetString(key, L"Service", SVT_BUS_SERVICE_NAME);
    if (NT_SUCCESS(status))
        status = KrSetMultiString(key, L"HardwareID", hardwareIds);
    if (NT_SUCCESS(status))
        status = KrSetString(key, L"Class", L"System");
    if (NT_SUCCESS(status))
        status = KrSetString(key, L"ClassGUID", SYSTEM_CLASS_GUID);
    ZwClose(key);
    if (!NT_SUCCESS(status))
        return status;
    status = RegisterInterface(&GUID_BUS_DRIVER_INTERFACE, BUS_INSTANCE_ID, linked);
    if (NT_SUCCESS(status))
        g_busLinked = linked;
    return status;
}

/* Follows the hide control. A registration that somebody removed (the root device was
   uninstalled) stays removed until a reset or the next start. */
static void ApplyBusVisibility(const SimControls* controls)
{
    BOOLEAN linked = controls->hideBusInterface ? FALSE : TRUE;

    if (linked == g_busLinked || !KrKeyExists(BUS_ENUM_PATH))
        return;
    if (NT_SUCCESS(SetInterfaceLinked(&GUID_BUS_DRIVER_INTERFACE, BUS_INSTANCE_ID, linked)))
        g_busLinked = linked;
}

/* After a restart the device keys are still there but their volatile parts are not: link
   the interfaces and publish the COM names again for the ports that are still configured. */
static void RestoreChildren(void)
{
    WCHAR name[NAME_CHARS];
    WCHAR instanceId[NAME_CHARS];
    HANDLE key;
    ULONG index;
    ULONG n;

    if (!NT_SUCCESS(KrOpenKey(PORT_ENUM_PATH, &key)))
        return;
    for (index = 0; NT_SUCCESS(KrEnumSubkey(key, index, name, NAME_CHARS)); ++index) {
        if (!ParseInstanceNumber(name, &n) || !PortSubkeyExists(n) || !FormatInstanceId(n, instanceId, NAME_CHARS))
            continue;
        if (NT_SUCCESS(RegisterInterface(&GUID_DEVINTERFACE_COMPORT, instanceId, TRUE)) &&
            NT_SUCCESS(PublishSerialComm(n)))
            g_children[n].present = TRUE;
    }
    ZwClose(key);
}

static void NTAPI WorkerThread(PVOID context)
{
    LONGLONG nextCheck = 0;

    UNREFERENCED_PARAMETER(context);
    while (!g_stopping) {
        LARGE_INTEGER timeout;
        LONGLONG now;
        LONGLONG wakeAt;
        SimControls controls;

        ExAcquireFastMutex(&g_lock);
        now = Now();
        PresentDueChildren(now);
        if (now >= nextCheck) {
            SimReadControls(&controls);
            ApplyBusVisibility(&controls);
            CheckRemovedChildren();
            nextCheck = now + POLL_INTERVAL;
        }
        wakeAt = NextDue();
        if (wakeAt == 0 || wakeAt > nextCheck)
            wakeAt = nextCheck;
        ExReleaseFastMutex(&g_lock);

        timeout.QuadPart = -(wakeAt > now ? wakeAt - now : 1);
        KeWaitForSingleObject(&g_wake, Executive, KernelMode, FALSE, &timeout);
    }
    PsTerminateSystemThread(STATUS_SUCCESS);
}

BOOLEAN FormatBusInterfaceLink(WCHAR* buf, size_t cch)
{
    WCHAR name[NAME_CHARS];

    return FormatInterfaceName(&GUID_BUS_DRIVER_INTERFACE, BUS_INSTANCE_ID, name, NAME_CHARS) &&
           KrFormat(buf, cch, L"\\DosDevices\\%s", name);
}

NTSTATUS ChildrenStart(void)
{
    SimControls controls;
    HANDLE thread;
    NTSTATUS status;

    ExInitializeFastMutex(&g_lock);
    KeInitializeEvent(&g_wake, SynchronizationEvent, FALSE);
    RtlZeroMemory(g_children, sizeof(g_children));
    g_lastDue = 0;
    g_stopping = 0;

    SimReadControls(&controls);
    status = PublishBusDevice(controls.hideBusInterface ? FALSE : TRUE);
    if (!NT_SUCCESS(status))
        return status;
    RestoreChildren();

    status = PsCreateSystemThread(&thread, THREAD_ALL_ACCESS, NULL, NULL, NULL, WorkerThread, NULL);
    if (NT_SUCCESS(status))
        g_thread = thread;
    return status;
}

void ChildrenStop(void)
{
    g_stopping = 1;
    KeSetEvent(&g_wake, IO_NO_INCREMENT, FALSE);
    if (g_thread != NULL) {
        ZwWaitForSingleObject(g_thread, FALSE, NULL);
        ZwClose(g_thread);
        g_thread = NULL;
    }
}

void ChildrenPlugIn(const SimControls* controls)
{
    WCHAR name[NAME_CHARS];
    HANDLE key;
    ULONG index;
    ULONG n;

    if (controls->childrenNever)
        return;
    if (!NT_SUCCESS(KrOpenKey(PARAMETERS_PATH, &key)))
        return;
    ExAcquireFastMutex(&g_lock);
    for (index = 0; NT_SUCCESS(KrEnumSubkey(key, index, name, NAME_CHARS)); ++index) {
        LONGLONG base;
        if (!ParseKeyNumber(name, &n) || g_children[n].due != 0)
            continue;
        /* A child removed (SetupDiRemoveDevice) since the last poll is gone already: its
           device key tells, not the flag that the poll has not cleared yet. */
        if (g_children[n].present) {
            if (ChildDeviceExists(n))
                continue;
            WithdrawChild(n, FALSE);
        }
        base = Now();
        if (g_lastDue > base)
            base = g_lastDue;
        g_children[n].due = base + MS_TO_TIME(controls->childDelayMs) + 1;
        g_lastDue = g_children[n].due;
    }
    ExReleaseFastMutex(&g_lock);
    ZwClose(key);
    KeSetEvent(&g_wake, IO_NO_INCREMENT, FALSE);
}

void ChildrenApplyControls(void)
{
    SimControls controls;

    SimReadControls(&controls);
    ExAcquireFastMutex(&g_lock);
    ApplyBusVisibility(&controls);
    CheckRemovedChildren();
    ExReleaseFastMutex(&g_lock);
}

/* Deletes the COM-port interface registrations of SVTMF3 instances that this run of the driver
   does not know (left from an earlier run or written by somebody else). */
static void DeleteStrayInterfaces(void)
{
    static const WCHAR prefix[] = L"##?#SVTMF3#";
    WCHAR name[NAME_CHARS];
    WCHAR path[PATH_CHARS];
    HANDLE key;
    ULONG index = 0;

    if (!NT_SUCCESS(KrOpenKey(COMPORT_CLASSES_PATH, &key)))
        return;
    while (NT_SUCCESS(KrEnumSubkey(key, index, name, NAME_CHARS))) {
        if (_wcsnicmp(name, prefix, wcslen(prefix)) == 0 &&
            KrFormat(path, PATH_CHARS, L"%s\\%s", COMPORT_CLASSES_PATH, name) && NT_SUCCESS(KrDeleteTree(path)))
            continue; /* the next key moved to this index */
        ++index;
    }
    ZwClose(key);
}

/* Deletes every COM name that this driver publishes, whoever's port it was. */
static void DeleteStraySerialComm(void)
{
    WCHAR prefix[NAME_CHARS];
    WCHAR name[NAME_CHARS];
    HANDLE key;
    ULONG index = 0;
    WCHAR* format;

    /* The published names are the format's text up to its number. */
    if (!KrFormat(prefix, NAME_CHARS, L"%s", SIM_SERIALCOMM_NAME_FORMAT))
        return;
    format = wcschr(prefix, L'%');
    if (format != NULL)
        *format = 0;
    if (!NT_SUCCESS(KrOpenKey(SERIALCOMM_PATH, &key)))
        return;
    while (NT_SUCCESS(KrEnumValueName(key, index, name, NAME_CHARS))) {
        if (_wcsnicmp(name, prefix, wcslen(prefix)) == 0 && NT_SUCCESS(KrDeleteValue(key, name)))
            continue;
        ++index;
    }
    ZwClose(key);
}

void ChildrenReset(void)
{
    SimControls controls;
    ULONG n;

    SimReadControls(&controls);
    ExAcquireFastMutex(&g_lock);
    for (n = 1; n <= MAX_COM_NUMBER; ++n) {
        if (g_children[n].present || g_children[n].due != 0)
            WithdrawChild(n, TRUE);
    }
    KrDeleteTree(SVTMF3_ENUM_PATH);
    DeleteStrayInterfaces();
    DeleteStraySerialComm();
    SimClearAllLineStates();
    g_lastDue = 0;
    PublishBusDevice(controls.hideBusInterface ? FALSE : TRUE);
    ExReleaseFastMutex(&g_lock);
}
