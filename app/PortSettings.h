// The registry store of the port settings. Every port has a subkey of the bus driver service's
// Parameters key, named by its key number ("%04d"), and a copy of its values in the Device
// Parameters key of its device. Each operation opens the key it needs, does one thing and
// closes it again; none shows a message. Results: 1 when done, 0 when not. All key paths are
// below HKEY_LOCAL_MACHINE.
#pragma once

#include "app/ScopedHandles.h"
#include "contract/DriverInterface.h"
#include "framework/cstring.h"

#include <windows.h>

#include <ddk/msports.h>

class CDeviceParamWriter;

// The service parameters key (SVT_PARAMETERS_KEY) holds the top value DeviceCount and one subkey
// per port.
// Instance keys of the port devices, "%08X" of the key number below it.
extern const wchar_t kPortDeviceEnumKey[];
// The product's install folder.
extern const wchar_t kInstallFolderKey[];
// The system's serial ports: one value per port, its data the COM name.
extern const wchar_t kSerialCommKey[];

extern const wchar_t kDeviceCountValue[];
extern const wchar_t kInstallFolderValue[];  // ComSarventoPath

// The per-port values, in the order a load of the port table reads them, and their defaults.
extern const wchar_t kTxTriggerLevelValue[];
extern const wchar_t kAliveRxTimerValue[];
extern const wchar_t kAliveTxTimerValue[];
extern const wchar_t kProtocolValue[];
extern const wchar_t kIPaddressValue[];
extern const wchar_t kPortValue[];
extern const wchar_t kComPortValue[];
extern const wchar_t kAliasValue[];

constexpr DWORD kDefaultTxTriggerLevel = 255;
constexpr DWORD kDefaultAliveRxTimer = 7000;
constexpr DWORD kDefaultAliveTxTimer = 2500;
constexpr DWORD kDefaultProtocol = 0;
constexpr DWORD kDefaultIPaddress = 0;
constexpr DWORD kDefaultPort = 4001;

// ReadRegString reads texts of up to this many characters, terminator included.
constexpr int kRegStringChars = 256;

// "...\Parameters\0007" for key number 7.
CString PortSubkeyPath(UINT keyNumber);
// "...\Enum\SVTMF3\*PNP0501\0000000A\Device Parameters" for key number 10.
CString PortDevicePath(UINT keyNumber);

// 1 when a REG_DWORD value of four bytes was read; otherwise 0 and value is 0 (a value of
// another type or size counts as missing).
int ReadRegDword(LPCWSTR keyPath, LPCWSTR valueName, DWORD& value);
// Creates the missing keys along the path; 1 when the value was stored.
int WriteRegDword(LPCWSTR keyPath, LPCWSTR valueName, DWORD value);
// Looks in the 32-bit view of the registry too. 1 when read; on 0 the text is left as it was.
int ReadRegString(LPCWSTR keyPath, LPCWSTR valueName, CString& text);

// The same reads on a key the caller holds open, for an operation that reads many values of one
// key: QueryRegDword reads as ReadRegDword does, and QueryRegString as the first of
// ReadRegString's two reads does (the key's own view). QueryRegString gives the query's result:
// ERROR_SUCCESS when read, ERROR_FILE_NOT_FOUND when there is no such value, ERROR_MORE_DATA
// when it is longer than ReadRegString reads; the text is left as it was unless read.
int QueryRegDword(HKEY hKey, LPCWSTR valueName, DWORD& value);
LONG QueryRegString(HKEY hKey, LPCWSTR valueName, CString& text);
// True only when the key or the value does not exist; a value that cannot be read for another
// reason (too long, no access) is not missing.
bool IsRegValueMissing(LPCWSTR keyPath, LPCWSTR valueName);
// Sets a REG_SZ value of an open key: the text with its terminator (an empty text is 2 bytes).
// 1 when it was stored.
int SetRegString(HKEY hKey, LPCWSTR valueName, LPCWSTR text);
// Opens or creates the key; 1 when the value was stored.
int WriteRegString(LPCWSTR keyPath, LPCWSTR valueName, LPCWSTR text);

// Writes the value into the Device Parameters key of the first present device that carries the
// port description and the COM number in its friendly name; 1 when it was stored there.
int WriteDeviceParamDword(DWORD comNumber, LPCWSTR valueName, DWORD value);

// Writes the value into the port's subkey and, when the port's device is present, into its
// device key.
void WritePortSetting(UINT keyNumber, LPCWSTR valueName, DWORD value);

// A port's subkey opened once for every value that one operation writes into it (one open, the
// values, one close). It is opened, never created, and as itself: a port whose subkey is gone
// stays gone, and a subkey that is a link to another key is not a port's and gets nothing.
class PortSubkeyWriter {
public:
    explicit PortSubkeyWriter(UINT keyNumber);
    PortSubkeyWriter(const PortSubkeyWriter&) = delete;
    PortSubkeyWriter& operator=(const PortSubkeyWriter&) = delete;

    UINT KeyNumber() const { return m_keyNumber; }
    bool IsOpen() const { return m_key != nullptr; }
    // Why it is not open: ERROR_FILE_NOT_FOUND when the subkey is not there, ERROR_SUCCESS when
    // it is a link, else the open's error.
    LONG OpenStatus() const { return m_opened; }
    // 1 when the value was stored; 0 also when the subkey is not open.
    int WriteDword(LPCWSTR valueName, DWORD value);
    int WriteString(LPCWSTR valueName, LPCWSTR text);

private:
    UINT m_keyNumber;
    LONG m_opened;
    ScopedRegKey m_key;
};

// WritePortSetting through an open subkey, and through devices, a list of the present devices
// taken once for an operation that writes many values. 1 when the subkey took the value (the
// device's key is written when the device is present, as WritePortSetting does).
int WritePortSetting(PortSubkeyWriter& subkey, CDeviceParamWriter& devices, LPCWSTR valueName, DWORD value);

// Writes the text into the Device Parameters key of the port's device by its path. That key is
// made when missing, but only under a device instance key that is there: no key is made for a
// device that has gone. 1 when the value was stored.
int WriteDeviceParamString(UINT keyNumber, LPCWSTR valueName, LPCWSTR text);

// Whether the port's subkey is a registry link to some other key rather than a key of its own.
bool IsPortSubkeyLink(UINT keyNumber);
// Deletes the port's subkey with everything below it; a missing subkey is no error. Registry
// links are deleted as links, never followed: what they point to stays.
void DeletePortKey(UINT keyNumber);
// Deletes the port's subkey (as DeletePortKey does) and releases the COM number in the open COM-port database, whether
// or not the subkey existed. Always 1.
int DeletePortSettings(DWORD comNumber, UINT keyNumber, HCOMDB hComDB);
