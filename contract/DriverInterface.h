/*
 * What the control panel sends to the product's drivers and what it relies on from them.
 *
 * The bus driver `svtmf3` exposes one device interface of class GUID_BUS_DRIVER_INTERFACE;
 * IOCTL_BUS_PLUGIN_PORT sent there makes it present a child port device for every port subkey
 * (four decimal digits, the COM number) under SVT_PARAMETERS_KEY that has no device yet.
 * The port driver `svtser3` serves the status device SVT_STATUS_DEVICE_PATH: the line-state
 * table (one byte per COM number, LINESTATE_* bits) and the trace selection.
 *
 * Plain C so that the program and the drivers include the same definitions. Include it after
 * <windows.h> (or <ntddk.h>); include <initguid.h> before it in one translation unit of a
 * module to define the GUID there, everywhere else it is only declared.
 */
#ifndef SARVENTO_DRIVER_INTERFACE_H
#define SARVENTO_DRIVER_INTERFACE_H

#ifdef __cplusplus
extern "C" {
#endif

/* Device interface class of the bus driver's device. */
DEFINE_GUID(GUID_BUS_DRIVER_INTERFACE, 0xEC1E81B6, 0x92DE, 0x4DE0, 0x94, 0xDA, 0x9B, 0x91, 0xD9, 0x92, 0x5D, 0xE5);

/* Plug-in request to the bus driver: device type 0x2A (bus extender), function 0, buffered,
   any access. Input and output are one BusPlugInRecord; only the success of the call counts. */
#define IOCTL_BUS_PLUGIN_PORT 0x002A0000u

#define BUS_PLUGIN_RECORD_SIZE 8u
#define BUS_PLUGIN_SERIAL_NO 1u

typedef struct BusPlugInRecord {
    unsigned int size;     /* BUS_PLUGIN_RECORD_SIZE */
    unsigned int serialNo; /* BUS_PLUGIN_SERIAL_NO */
} BusPlugInRecord;

/* Status device of the port driver. The leaf name is what both sides build their paths from:
   the program opens "\\.\ReadUartDevice", the driver creates "\Device\ReadUartDevice". */
#define SVT_STATUS_DEVICE_LEAF L"ReadUartDevice"
#define SVT_STATUS_DEVICE_PATH L"\\\\.\\" SVT_STATUS_DEVICE_LEAF

/* Line-state read: device type 0x9C40, function 0x900, buffered, read access.
   Input and output are LINE_STATE_TABLE_SIZE bytes; byte n - 1 is the state of COM n. */
#define IOCTL_READ_LINE_STATES 0x9C406400u
/* Trace selection: function 0x902, otherwise as above. Input is one TraceSelection, no output. */
#define IOCTL_SET_TRACE 0x9C406408u

#define LINE_STATE_TABLE_SIZE 256u

/* Bits of a line-state byte. */
#define LINESTATE_CON 0x01u /* the port is open */
#define LINESTATE_ERR 0x02u
#define LINESTATE_RX 0x04u
#define LINESTATE_TX 0x08u
#define LINESTATE_CTS 0x10u
#define LINESTATE_DSR 0x20u
#define LINESTATE_RI 0x40u
#define LINESTATE_DCD 0x80u

typedef struct TraceSelection {
    unsigned char enabled;   /* 0 or 1 */
    unsigned char comNumber; /* COM number to trace */
} TraceSelection;

/* Service names of the two drivers. */
#define SVT_BUS_SERVICE_NAME L"svtmf3"
#define SVT_PORT_SERVICE_NAME L"svtser3"

/* The bus driver's configuration: one subkey "%04d" per port, named by its COM number.
   Relative to HKEY_LOCAL_MACHINE. */
#define SVT_PARAMETERS_KEY L"SYSTEM\\CurrentControlSet\\Services\\svtmf3\\Parameters"

/* Identity of a child port device. Its hardware ids are SVT_PORT_HARDWARE_ID and
   SVT_PORT_HARDWARE_ID_PREFIX followed by "%08x" of the COM number; its instance lies under
   "SYSTEM\CurrentControlSet\Enum\" SVT_PORT_HARDWARE_ID, named "%08X" of the COM number. */
#define SVT_PORT_HARDWARE_ID L"SVTMF3\\*PNP0501"
#define SVT_PORT_HARDWARE_ID_PREFIX L"SVTMF3\\"
#define SVT_PORT_DEVICE_DESC L"Sarvento VCP"

/* Hardware id of the root bus device. */
#define SVT_BUS_HARDWARE_ID L"root\\svtmf3"

#ifdef __cplusplus
}
#endif

#endif /* SARVENTO_DRIVER_INTERFACE_H */
