// The texts of a port's settings as the pages show them, and the way the port list reads its
// cells back: dotted IPv4 addresses, signed numbers and protocol names.
#pragma once

#include "framework/cstring.h"

#include <windows.h>

// "%d.%d.%d.%d" of the four bytes, the most significant first: 0xC0A80001 is "192.168.0.1".
CString FormatIpAddress(UINT address);

// The four components of an address text as ParseIpAddress reads them, each as the C library's
// wcstoul reads a decimal number (so "-1" is 0xFFFFFFFF).
struct IpAddressParts {
    unsigned long a = 0;
    unsigned long b = 0;
    unsigned long c = 0;
    unsigned long d = 0;

    // Whether every component fits a byte; only then is the address the text means.
    bool InRange() const { return a <= 255 && b <= 255 && c <= 255 && d <= 255; }
};

// For a, b and c in turn: when the rest of the text holds a ".", the component is the text
// before it and the rest becomes what follows it; otherwise the component stays 0. d is the
// text before the next "." or the whole rest. So "10.5" gives 10.0.0.5, "7" gives 0.0.0.7 and
// "1.2.3.4.5" gives 1.2.3.4.
IpAddressParts SplitIpAddress(CString text);

// The address of the text: "%02x%02x%02x%02x" of its components read back as a hexadecimal
// number, which is a * 2^24 + b * 2^16 + c * 2^8 + d when every component fits a byte.
UINT ParseIpAddress(CString text);

// "%d" of the value read as a signed 32-bit number: 0xFFFFFFFF is "-1".
CString FormatNumber(UINT value);

// 0 "COM", 1 "Encryption", 2 "Raw", anything else "UNKNOWN".
CString FormatProtocol(UINT protocol);

// The protocol code of exactly "COM", "Encryption" or "Raw" (case counts); false for any other
// text, which leaves the stored protocol as it is.
bool ParseProtocol(const CString& text, UINT& protocol);
