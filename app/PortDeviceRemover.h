// Removing port devices from the device tree, by COM number.
#pragma once

#include "app/ScopedHandles.h"
#include "framework/cstring.h"

#include <windows.h>

#include <setupapi.h>

#include <vector>

// Removes the present port device of COM comNumber; nothing when there is none.
void RemoveDeviceByComNumber(int comNumber);

// The present port devices, read once for a run that removes many: Remove(n) finds the device of
// COM n as RemoveDeviceByComNumber would on a fresh list (the first port device whose lower-cased
// friendly name is "sarvento vcp (comn)" or "sarvento vcp(comn)"; none once a port device whose
// name cannot be read comes first) and removes it.
class PortDeviceRemover {
public:
    PortDeviceRemover();

    // Whether the list of present port devices could be made.
    bool Listed() const { return m_set.IsValid(); }
    // Whether Remove(comNumber) finds a device to remove.
    bool Has(int comNumber) { return Find(comNumber) != nullptr; }
    // True when the device was found and the system removed it.
    bool Remove(int comNumber);

private:
    struct Candidate {
        SP_DEVINFO_DATA device;
        CString lowerName;
        bool unreadable;
        bool removed = false;
    };
    Candidate* Find(int comNumber);
    ScopedDeviceList m_set;
    std::vector<Candidate> m_candidates;
};
