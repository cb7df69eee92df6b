// Owners of the registry keys, handles, device lists, COM-port database handles and libraries
// that the program opens: each is closed on every path out of the operation that opened it.
#pragma once

#include <windows.h>

#include <setupapi.h>

#include <ddk/msports.h>

#include "app/Trace.h"

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

// A COM-port database handle, closed when its owner goes (or at Close, where the database must be
// closed before a message box).
class ScopedComDb {
public:
    ScopedComDb() = default;
    ~ScopedComDb() { Close(); }
    ScopedComDb(const ScopedComDb&) = delete;
    ScopedComDb& operator=(const ScopedComDb&) = delete;

    // Opens the database (any handle held so far is closed first). ERROR_SUCCESS only with a
    // handle that can be used; an open that reports success without one gives ERROR_INVALID_HANDLE.
    LONG Open()
    {
        Close();
        LONG status = ::ComDBOpen(&m_hComDB);
        if (status == ERROR_SUCCESS && !IsValid())
            status = ERROR_INVALID_HANDLE;
        if (status != ERROR_SUCCESS) {
            TRACE_FAILURE(L"ComDBOpen", status);
            m_hComDB = HCOMDB_INVALID_HANDLE_VALUE;
        }
        return status;
    }
    void Close()
    {
        if (IsValid())
            ::ComDBClose(m_hComDB);
        m_hComDB = HCOMDB_INVALID_HANDLE_VALUE;
    }
    bool IsValid() const { return m_hComDB != HCOMDB_INVALID_HANDLE_VALUE && m_hComDB != nullptr; }
    operator HCOMDB() const { return m_hComDB; }

private:
    HCOMDB m_hComDB = HCOMDB_INVALID_HANDLE_VALUE;
};

// A library loaded at run time, freed when its owner goes.
class ScopedModule {
public:
    explicit ScopedModule(HMODULE hModule) : m_hModule(hModule) {}
    ~ScopedModule()
    {
        if (IsValid())
            ::FreeLibrary(m_hModule);
    }
    ScopedModule(const ScopedModule&) = delete;
    ScopedModule& operator=(const ScopedModule&) = delete;

    bool IsValid() const { return m_hModule != nullptr; }
    operator HMODULE() const { return m_hModule; }

private:
    HMODULE m_hModule;
};
