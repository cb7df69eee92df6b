// Owners of the registry keys, handles and device lists that the program opens: each is
// closed on every path out of the operation that opened it.
#pragma once

#include <windows.h>

#include <setupapi.h>

// A registry key, closed when its owner goes.
class ScopedRegKey {
public:
    ScopedRegKey() = default;
    ~ScopedRegKey() { Close(); }
    ScopedRegKey(const ScopedRegKey&) = delete;
    ScopedRegKey& operator=(const ScopedRegKey&) = delete;

    // The place where an open or create call puts the new key (any key held so far is closed).
    HKEY* Receive()
    {
        Close();
        return &m_hKey;
    }
    void Close()
    {
        if (m_hKey != nullptr) {
            ::RegCloseKey(m_hKey);
            m_hKey = nullptr;
        }
    }
    operator HKEY() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};

// A kernel object handle (process, snapshot), closed when its owner goes.
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE hHandle) : m_hHandle(hHandle) {}
    ~ScopedHandle()
    {
        if (IsValid())
            ::CloseHandle(m_hHandle);
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    bool IsValid() const { return m_hHandle != nullptr && m_hHandle != INVALID_HANDLE_VALUE; }
    operator HANDLE() const { return m_hHandle; }

private:
    HANDLE m_hHandle;
};

// A device information list, destroyed when its owner goes.
class ScopedDeviceList {
public:
    explicit ScopedDeviceList(HDEVINFO hDevInfo) : m_hDevInfo(hDevInfo) {}
    ~ScopedDeviceList()
    {
        if (IsValid())
            ::SetupDiDestroyDeviceInfoList(m_hDevInfo);
    }
    ScopedDeviceList(const ScopedDeviceList&) = delete;
    ScopedDeviceList& operator=(const ScopedDeviceList&) = delete;

    bool IsValid() const { return m_hDevInfo != INVALID_HANDLE_VALUE && m_hDevInfo != nullptr; }
    operator HDEVINFO() const { return m_hDevInfo; }

private:
    HDEVINFO m_hDevInfo;
};
