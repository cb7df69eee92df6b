#include "SimState.h"

#include "KernelRegistry.h"
#include "sim/SimShared.h"

static const WCHAR* g_logDriverName = L"unknown";
static ULONG g_logSequence;
static FAST_MUTEX g_logLock;

static ULONG ReadControl(HANDLE key, const WCHAR* name, ULONG fallback)
{
    ULONG value;

    if (key == NULL || !NT_SUCCESS(KrQueryDword(key, name, &value)))
        return fallback;
    return value;
}

void SimReadControls(SimControls* controls)
{
    HANDLE key = NULL;

    if (!NT_SUCCESS(KrOpenKey(SIM_KERNEL_MACHINE SIM_CONTROLS_KEY, &key)))
        key = NULL;
    controls->refusePlugIn = ReadControl(key, SIM_CONTROL_REFUSE_PLUGIN, 0);
    controls->childDelayMs = ReadControl(key, SIM_CONTROL_CHILD_DELAY_MS, SIM_DEFAULT_CHILD_DELAY_MS);
    controls->childrenNever = ReadControl(key, SIM_CONTROL_CHILDREN_NEVER, 0);
    controls->friendlyNameForm = ReadControl(key, SIM_CONTROL_FRIENDLY_NAME_FORM, 0);
    controls->hideBusInterface = ReadControl(key, SIM_CONTROL_HIDE_BUS_INTERFACE, 0);
    controls->hideStatusDevice = ReadControl(key, SIM_CONTROL_HIDE_STATUS_DEVICE, 0);
    controls->failLineRead = ReadControl(key, SIM_CONTROL_FAIL_LINE_READ, 0);
    controls->failTrace = ReadControl(key, SIM_CONTROL_FAIL_TRACE, 0);
    if (controls->friendlyNameForm >= SIM_FRIENDLY_NAME_FORM_COUNT)
        controls->friendlyNameForm = SIM_FRIENDLY_NAME_STANDARD;
    if (key != NULL)
        ZwClose(key);
}

void SimLogInit(const WCHAR* driverName)
{
    g_logDriverName = driverName;
    g_logSequence = 0;
    ExInitializeFastMutex(&g_logLock);
}

void SimLogRequest(ULONG code, const void* input, ULONG inputLength, ULONG outputLength, NTSTATUS status)
{
    WCHAR path[160];
    WCHAR valueName[16];
    SimLogRecord record;
    LARGE_INTEGER now;
    HANDLE key;

    RtlZeroMemory(&record, sizeof(record));
    KeQuerySystemTime(&now);
    record.code = code;
    record.inputLength = inputLength;
    record.outputLength = outputLength;
    record.status = status;
    record.time = (unsigned long long)now.QuadPart;
    if (input != NULL) {
        record.inputSaved = inputLength < SIM_LOG_INPUT_BYTES ? inputLength : SIM_LOG_INPUT_BYTES;
        RtlCopyMemory(record.input, input, record.inputSaved);
    }

    if (!KrFormat(path, 160, L"%s%s\\%s", SIM_KERNEL_MACHINE, SIM_LOG_KEY, g_logDriverName))
        return;
    ExAcquireFastMutex(&g_logLock);
    record.sequence = ++g_logSequence;
    if (KrFormat(valueName, 16, L"%04u", record.sequence % SIM_LOG_RING_SIZE) &&
        NT_SUCCESS(KrCreateKeyPath(path, FALSE, &key))) {
        KrSetBinary(key, valueName, &record, sizeof(record));
        ZwClose(key);
    }
    ExReleaseFastMutex(&g_logLock);
}

NTSTATUS SimClearLineState(ULONG comNumber)
{
    WCHAR valueName[16];
    HANDLE key;
    NTSTATUS status;

    if (!KrFormat(valueName, 16, L"%u", comNumber))
        return STATUS_INVALID_PARAMETER;
    status = KrOpenKey(SIM_KERNEL_MACHINE SIM_LINE_STATES_KEY, &key);
    if (!NT_SUCCESS(status))
        return status == STATUS_OBJECT_NAME_NOT_FOUND ? STATUS_SUCCESS : status;
    status = KrDeleteValue(key, valueName);
    ZwClose(key);
    return status == STATUS_OBJECT_NAME_NOT_FOUND ? STATUS_SUCCESS : status;
}

void SimClearAllLineStates(void)
{
    KrDeleteTree(SIM_KERNEL_MACHINE SIM_LINE_STATES_KEY);
}
