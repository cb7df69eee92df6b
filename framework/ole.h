// OLE drag and drop: a window as a drop target, data offered to a drag, and the drag's source.
//
// The COM objects OLE talks to (IDropTarget, IDataObject, IDropSource) live on the heap with
// their own reference counts; the C++ objects below own one reference each and point into them.
// So a drop target in another process that keeps the data object after the drag still holds a
// live object, and a window's target that OLE still references after Revoke no longer calls a
// deleted owner: the COM object answers "no drop" once its C++ object is gone.
//
// What the drop target does with a drop: it asks OnDragOver once more for the effect at the drop
// point and filters it against the effects the source allows (COPY falls back to MOVE, then LINK;
// MOVE to COPY, then LINK; anything else to none). With no effect left it calls OnDragLeave and
// reports DROPEFFECT_NONE; otherwise it calls OnDrop, and reports DROPEFFECT_NONE when OnDrop
// answers FALSE. A drop over a place that only scrolls (DROPEFFECT_SCROLL) is therefore refused.
//
// OLE must be initialised on the thread (AfxOleInit) for registration and dragging to work on
// Windows.
#pragma once

#include "framework/types.h"
#include "framework/wnd.h"

#include <ole2.h>

using DROPEFFECT = DWORD;

// Initialises OLE on the calling thread (the user-interface thread, before its windows are made);
// FALSE when OLE refused, and then there is no drag and drop. The library's entry undoes it with
// AfxOleTerm when the application has ended.
BOOL AfxOleInit();
// Undoes a successful AfxOleInit; nothing otherwise.
void AfxOleTerm();

// The effect a drop target wants, as far as the source allows it; DROPEFFECT_SCROLL is kept.
DROPEFFECT AfxFilterDropEffect(DROPEFFECT wanted, DROPEFFECT allowed);

// A data object handed in by OLE (a drag's data), wrapped.
class COleDataObject {
public:
    COleDataObject() = default;
    ~COleDataObject() { Release(); }
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Wraps the object; with bAutoRelease the wrapper releases it (the caller's reference) when it
    // lets go of it.
    void Attach(IDataObject* lpDataObject, BOOL bAutoRelease = TRUE);
    void Release();

    // A global memory block with the data, which the caller frees; null when there is none.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);

    IDataObject* m_lpDataObject = nullptr;
    BOOL m_bAutoRelease = FALSE;
};

// A window registered with OLE as a place where data can be dropped.
class COleDropTarget {
public:
    COleDropTarget();
    // Revokes a registration that is still in force.
    virtual ~COleDropTarget();
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // Registers the window (which must exist) with OLE: locks the target's COM object and calls
    // RegisterDragDrop. FALSE when the window is registered already, OLE is not initialised or
    // the registration is refused; the object then stays unregistered.
    BOOL Register(CWnd* pWnd);
    // Ends the registration; nothing when there is none.
    void Revoke();
    // The window registered, or null.
    HWND GetRegisteredWindow() const { return m_hWnd; }
    // The target's IDropTarget (not AddRef'ed), for OLE and for tests that play OLE's part.
    IDropTarget* GetInterface() const;

    // What a drag over the window may do: the effect for the data at point (client coordinates).
    // The bases answer DROPEFFECT_NONE and FALSE, and do nothing on leave.
    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);

private:
    class Impl;
    Impl* m_pImpl = nullptr;
    HWND m_hWnd = nullptr;
};

// The source side of a drag: when the drag really starts, whether it goes on, and the cursor.
class COleDropSource {
public:
    COleDropSource();
    virtual ~COleDropSource();
    COleDropSource(const COleDropSource&) = delete;
    COleDropSource& operator=(const COleDropSource&) = delete;

    // Escape or the other mouse button cancels; releasing the button that drags drops.
    virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
    // The system's cursors.
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
    // Holds the mouse until the cursor leaves m_rectStartDrag (screen coordinates) or the drag
    // delay has passed: TRUE, the drag starts. A button released or pressed, Escape, or the
    // capture lost: FALSE, no drag. pWnd takes the capture meanwhile (none: the drag starts at
    // once).
    virtual BOOL OnBeginDrag(CWnd* pWnd);

    IDropSource* GetInterface() const;

    CRect m_rectStartDrag;
    DWORD m_dwButtonDrop = MK_LBUTTON;    // the button whose release drops
    DWORD m_dwButtonCancel = MK_RBUTTON;  // the button whose press cancels
    BOOL m_bDragStarted = FALSE;

private:
    class Impl;
    Impl* m_pImpl = nullptr;
};

// Data offered to a drag, kept as global memory blocks by format.
class COleDataSource {
public:
    COleDataSource();
    // Releases the data object; its cached data is freed with its last reference.
    virtual ~COleDataSource();
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Offers hGlobal as cfFormat (DVASPECT_CONTENT, all of it, TYMED_HGLOBAL unless lpFormatEtc
    // says otherwise); the data source owns the block from now on, also when it replaces an
    // earlier block of the same format.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
    // Runs OLE's modal drag with the data: the effect the drop target carried out, or
    // DROPEFFECT_NONE when the drag never started, was cancelled or failed. lpRectStartDrag null:
    // the drag starts once the cursor leaves a drag-sized rectangle around where it is now.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = nullptr, COleDropSource* pDropSource = nullptr);

    // The data object (not AddRef'ed).
    IDataObject* GetInterface() const;

private:
    class Impl;
    Impl* m_pImpl = nullptr;
};
