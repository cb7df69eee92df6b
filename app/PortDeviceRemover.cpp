#include "app/PortDeviceRemover.h"

#include "app/PortDevice.h"
#include "app/Trace.h"

PortDeviceRemover::PortDeviceRemover() : m_set(GetPresentComPortDevices())
{
    if (!m_set.IsValid())
        return;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(m_set, index, &device); ++index) {
        DeviceText description;
        if (!ReadDeviceText(m_set, &device, SPDRP_DEVICEDESC, description) || !IsPortDeviceDescription(description))
            continue;
        Candidate candidate{device, CString(), false};
        DeviceText friendly;
        if (ReadDeviceText(m_set, &device, SPDRP_FRIENDLYNAME, friendly)) {
            candidate.lowerName = friendly;
            candidate.lowerName.MakeLower();
        } else {
            // A port device whose name cannot be read ends every search: the ones after it are
            // never looked at.
            m_candidates.push_back(candidate);
            m_candidates.back().unreadable = true;
            break;
        }
        m_candidates.push_back(candidate);
    }
}

PortDeviceRemover::Candidate* PortDeviceRemover::Find(int comNumber)
{
    CString spaced, unspaced;
    spaced.Format(L"sarvento vcp (com%d)", comNumber);
    unspaced.Format(L"sarvento vcp(com%d)", comNumber);
    for (Candidate& candidate : m_candidates) {
        if (candidate.unreadable)
            return nullptr;
        if (!candidate.removed && (candidate.lowerName == spaced || candidate.lowerName == unspaced))
            return &candidate;
    }
    return nullptr;
}

bool PortDeviceRemover::Remove(int comNumber)
{
    Candidate* candidate = Find(comNumber);
    if (candidate == nullptr)
        return false;
    candidate->removed = true;
    if (SetupDiRemoveDevice(m_set, &candidate->device))
        return true;
    TRACE_LAST_ERROR(L"SetupDiRemoveDevice");
    return false;
}

void RemoveDeviceByComNumber(int comNumber)
{
    PortDeviceRemover().Remove(comNumber);
}
