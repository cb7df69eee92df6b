#include "app/PortText.h"

#include <wchar.h>

namespace {

const wchar_t* const kProtocolNames[] = {L"COM", L"Encryption", L"Raw"};

unsigned long ReadDecimal(const CString& text)
{
    return wcstoul(text, nullptr, 10);
}

// Takes the component before the first "." off the front of rest; 0 and rest unchanged when
// there is no ".".
unsigned long TakeComponent(CString& rest)
{
    const int dot = rest.Find(L'.');
    if (dot < 0)
        return 0;
    const unsigned long value = ReadDecimal(rest.Left(dot));
    rest = rest.Mid(dot + 1);
    return value;
}

}  // namespace

CString FormatIpAddress(UINT address)
{
    CString text;
    text.Format(L"%d.%d.%d.%d", static_cast<int>((address >> 24) & 0xFF), static_cast<int>((address >> 16) & 0xFF),
                static_cast<int>((address >> 8) & 0xFF), static_cast<int>(address & 0xFF));
    return text;
}

IpAddressParts SplitIpAddress(CString text)
{
    IpAddressParts parts;
    parts.a = TakeComponent(text);
    parts.b = TakeComponent(text);
    parts.c = TakeComponent(text);
    const int dot = text.Find(L'.');
    parts.d = ReadDecimal(dot < 0 ? text : text.Left(dot));
    return parts;
}

UINT ParseIpAddress(CString text)
{
    const IpAddressParts parts = SplitIpAddress(text);
    CString hex;
    hex.Format(L"%02lx%02lx%02lx%02lx", parts.a, parts.b, parts.c, parts.d);
    return static_cast<UINT>(wcstoul(hex, nullptr, 16));
}

CString FormatNumber(UINT value)
{
    CString text;
    text.Format(L"%d", static_cast<int>(value));
    return text;
}

CString FormatProtocol(UINT protocol)
{
    if (protocol < sizeof(kProtocolNames) / sizeof(kProtocolNames[0]))
        return kProtocolNames[protocol];
    return L"UNKNOWN";
}

bool ParseProtocol(const CString& text, UINT& protocol)
{
    for (UINT code = 0; code < sizeof(kProtocolNames) / sizeof(kProtocolNames[0]); ++code) {
        if (text == kProtocolNames[code]) {
            protocol = code;
            return true;
        }
    }
    return false;
}
