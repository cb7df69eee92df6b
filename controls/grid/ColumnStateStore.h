// Where a grid keeps its column state (order, visibility, widths) and its column profiles: an
// interface that the grid's owner implements and attaches. The values a grid writes and reads
// are "ColumnCount", "ColumnData_%d" and "ColumnWidth_%d".
#pragma once

#include "framework/framework.h"

class ColumnStateStore {
public:
    ColumnStateStore() = default;
    virtual ~ColumnStateStore() = default;
    ColumnStateStore(const ColumnStateStore&) = delete;
    ColumnStateStore& operator=(const ColumnStateStore&) = delete;

    virtual int GetIntValue(LPCWSTR pszKey, int nDefault) = 0;
    virtual void SetIntValue(LPCWSTR pszKey, int nValue) = 0;
    // Called once before the grid writes a state.
    virtual void RemoveValues() = 0;
    // The store that holds the default state.
    virtual ColumnStateStore* GetDefaultState() = 0;
    virtual bool HasDefaultState() = 0;
    // Makes the default state the current one.
    virtual void ResetToDefault() = 0;
    virtual void GetProfiles(CStringArray& profiles) = 0;
    virtual void GetActiveProfile(CString& profile) = 0;
    virtual void SelectProfile(LPCWSTR pszProfile) = 0;
};
