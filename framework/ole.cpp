// OLE drag and drop: the drop target, the data source and the drop source over ole32.
#include "framework/ole.h"

#include <shlobj.h>

#include <vector>

namespace {

bool g_oleInitialised = false;

// The IUnknown part the three COM objects share: one reference count, deleted at zero.
template <class Interface>
class ComObject : public Interface {
public:
    ComObject() = default;
    virtual ~ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override
    {
        if (ppvObject == nullptr)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(Interface))) {
            *ppvObject = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

private:
    LONG m_refs = 1;
};

// A FORMATETC for a global memory block of the format, all of it, as content.
FORMATETC GlobalFormat(CLIPFORMAT cfFormat)
{
    FORMATETC format = {};
    format.cfFormat = cfFormat;
    format.ptd = nullptr;
    format.dwAspect = DVASPECT_CONTENT;
    format.lindex = -1;
    format.tymed = TYMED_HGLOBAL;
    return format;
}

}  // namespace

BOOL AfxOleInit()
{
    if (g_oleInitialised)
        return TRUE;
    if (FAILED(::OleInitialize(nullptr)))
        return FALSE;
    g_oleInitialised = true;
    return TRUE;
}

void AfxOleTerm()
{
    if (!g_oleInitialised)
        return;
    g_oleInitialised = false;
    ::OleUninitialize();
}

DROPEFFECT AfxFilterDropEffect(DROPEFFECT wanted, DROPEFFECT allowed)
{
    const DROPEFFECT scroll = wanted & DROPEFFECT_SCROLL;
    const DROPEFFECT effect = wanted & ~DROPEFFECT_SCROLL;
    if (effect != DROPEFFECT_NONE && (effect & allowed) == effect)
        return effect | scroll;
    if (effect == DROPEFFECT_COPY) {
        if (allowed & DROPEFFECT_MOVE)
            return DROPEFFECT_MOVE | scroll;
        if (allowed & DROPEFFECT_LINK)
            return DROPEFFECT_LINK | scroll;
    } else if (effect == DROPEFFECT_MOVE) {
        if (allowed & DROPEFFECT_COPY)
            return DROPEFFECT_COPY | scroll;
        if (allowed & DROPEFFECT_LINK)
            return DROPEFFECT_LINK | scroll;
    }
    return DROPEFFECT_NONE | scroll;
}

// ---- COleDataObject -----------------------------------------------------------------------

void COleDataObject::Attach(IDataObject* lpDataObject, BOOL bAutoRelease)
{
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

void COleDataObject::Release()
{
    if (m_lpDataObject != nullptr && m_bAutoRelease)
        m_lpDataObject->Release();
    m_lpDataObject = nullptr;
    m_bAutoRelease = FALSE;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    if (m_lpDataObject == nullptr)
        return nullptr;
    FORMATETC format = lpFormatEtc != nullptr ? *lpFormatEtc : GlobalFormat(cfFormat);
    format.cfFormat = cfFormat;
    format.tymed = TYMED_HGLOBAL;
    STGMEDIUM medium = {};
    if (FAILED(m_lpDataObject->GetData(&format, &medium)))
        return nullptr;
    if (medium.tymed != TYMED_HGLOBAL) {
        ::ReleaseStgMedium(&medium);
        return nullptr;
    }
    // A block the object keeps for itself (pUnkForRelease set) is copied for the caller.
    if (medium.pUnkForRelease == nullptr)
        return medium.hGlobal;
    HGLOBAL hCopy = static_cast<HGLOBAL>(::OleDuplicateData(medium.hGlobal, cfFormat, GMEM_MOVEABLE));
    ::ReleaseStgMedium(&medium);
    return hCopy;
}

// ---- COleDropTarget -----------------------------------------------------------------------

class COleDropTarget::Impl : public ComObject<IDropTarget> {
public:
    explicit Impl(COleDropTarget* pOwner) : m_pOwner(pOwner) {}

    // The C++ object is going: from now on every drag is answered with "no drop".
    void Disown()
    {
        m_pOwner = nullptr;
        m_data.Release();
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override
    {
        if (pdwEffect == nullptr)
            return E_INVALIDARG;
        if (pDataObj != nullptr)
            pDataObj->AddRef();
        m_data.Attach(pDataObj, TRUE);
        DROPEFFECT effect = DROPEFFECT_NONE;
        if (COleDropTarget* pOwner = m_pOwner)
            effect = pOwner->OnDragEnter(Window(), &m_data, grfKeyState, ClientPoint(pt));
        *pdwEffect = AfxFilterDropEffect(effect, *pdwEffect);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override
    {
        if (pdwEffect == nullptr)
            return E_INVALIDARG;
        DROPEFFECT effect = DROPEFFECT_NONE;
        if (COleDropTarget* pOwner = m_pOwner)
            effect = pOwner->OnDragOver(Window(), &m_data, grfKeyState, ClientPoint(pt));
        *pdwEffect = AfxFilterDropEffect(effect, *pdwEffect);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        if (COleDropTarget* pOwner = m_pOwner)
            pOwner->OnDragLeave(Window());
        m_data.Release();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override
    {
        if (pdwEffect == nullptr)
            return E_INVALIDARG;
        // The owner may end the registration from inside its handlers: this object stays alive
        // until the call is over.
        AddRef();
        if (pDataObj != nullptr)
            pDataObj->AddRef();
        m_data.Attach(pDataObj, TRUE);
        const CPoint point = ClientPoint(pt);
        DROPEFFECT effect = DROPEFFECT_NONE;
        if (COleDropTarget* pOwner = m_pOwner)
            effect = AfxFilterDropEffect(pOwner->OnDragOver(Window(), &m_data, grfKeyState, point), *pdwEffect) &
                     ~DROPEFFECT_SCROLL;
        if (effect == DROPEFFECT_NONE) {
            if (COleDropTarget* pOwner = m_pOwner)
                pOwner->OnDragLeave(Window());
        } else if (COleDropTarget* pOwner = m_pOwner;
                   pOwner == nullptr || !pOwner->OnDrop(Window(), &m_data, effect, point)) {
            effect = DROPEFFECT_NONE;
        }
        *pdwEffect = effect;
        m_data.Release();
        Release();
        return S_OK;
    }

private:
    CWnd* Window() const { return m_pOwner != nullptr ? CWnd::FromHandle(m_pOwner->m_hWnd) : nullptr; }

    CPoint ClientPoint(POINTL pt) const
    {
        POINT point = {pt.x, pt.y};
        if (m_pOwner != nullptr && m_pOwner->m_hWnd != nullptr)
            ::ScreenToClient(m_pOwner->m_hWnd, &point);
        return CPoint(point);
    }

    COleDropTarget* m_pOwner;
    COleDataObject m_data;
};

COleDropTarget::COleDropTarget() : m_pImpl(new Impl(this)) {}

COleDropTarget::~COleDropTarget()
{
    Revoke();
    m_pImpl->Disown();
    m_pImpl->Release();
}

IDropTarget* COleDropTarget::GetInterface() const
{
    return m_pImpl;
}

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    // The strong lock keeps the object alive for OLE however its references come and go.
    if (FAILED(::CoLockObjectExternal(m_pImpl, TRUE, FALSE)))
        return FALSE;
    if (FAILED(::RegisterDragDrop(pWnd->m_hWnd, m_pImpl))) {
        ::CoLockObjectExternal(m_pImpl, FALSE, TRUE);
        return FALSE;
    }
    m_hWnd = pWnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_hWnd == nullptr)
        return;
    // A window already destroyed has lost its registration with it; the lock goes all the same.
    ::RevokeDragDrop(m_hWnd);
    ::CoLockObjectExternal(m_pImpl, FALSE, TRUE);
    m_hWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* /*pWnd*/, COleDataObject* /*pDataObject*/, DWORD /*dwKeyState*/,
                                       CPoint /*point*/)
{
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* /*pWnd*/, COleDataObject* /*pDataObject*/, DWORD /*dwKeyState*/,
                                      CPoint /*point*/)
{
    return DROPEFFECT_NONE;
}

BOOL COleDropTarget::OnDrop(CWnd* /*pWnd*/, COleDataObject* /*pDataObject*/, DROPEFFECT /*dropEffect*/,
                            CPoint /*point*/)
{
    return FALSE;
}

void COleDropTarget::OnDragLeave(CWnd* /*pWnd*/) {}

// ---- COleDropSource -----------------------------------------------------------------------

class COleDropSource::Impl : public ComObject<IDropSource> {
public:
    explicit Impl(COleDropSource* pOwner) : m_pOwner(pOwner) {}

    void Disown() { m_pOwner = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override
    {
        return m_pOwner != nullptr ? m_pOwner->QueryContinueDrag(fEscapePressed, grfKeyState) : DRAGDROP_S_CANCEL;
    }

    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD dwEffect) override
    {
        return m_pOwner != nullptr ? m_pOwner->GiveFeedback(dwEffect) : DRAGDROP_S_USEDEFAULTCURSORS;
    }

private:
    COleDropSource* m_pOwner;
};

COleDropSource::COleDropSource() : m_pImpl(new Impl(this)) {}

COleDropSource::~COleDropSource()
{
    m_pImpl->Disown();
    m_pImpl->Release();
}

IDropSource* COleDropSource::GetInterface() const
{
    return m_pImpl;
}

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState)
{
    if (bEscapePressed || (dwKeyState & m_dwButtonCancel) != 0)
        return DRAGDROP_S_CANCEL;
    if ((dwKeyState & m_dwButtonDrop) == 0)
        return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT /*dropEffect*/)
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

BOOL COleDropSource::OnBeginDrag(CWnd* pWnd)
{
    m_bDragStarted = FALSE;
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr) {
        m_bDragStarted = TRUE;
        return TRUE;
    }
    const UINT delay = DD_DEFDRAGDELAY;
    const DWORD start = ::GetTickCount();
    HWND hWnd = pWnd->m_hWnd;
    ::SetCapture(hWnd);
    bool cancelled = false;
    while (!m_bDragStarted && !cancelled) {
        if (::GetCapture() != hWnd) {
            cancelled = true;
            break;
        }
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            switch (msg.message) {
                case WM_LBUTTONUP:
                case WM_RBUTTONUP:
                case WM_MBUTTONUP:
                case WM_LBUTTONDOWN:
                case WM_RBUTTONDOWN:
                case WM_MBUTTONDOWN:
                    cancelled = true;
                    break;
                case WM_MOUSEMOVE:
                    if (!::PtInRect(&m_rectStartDrag, msg.pt))
                        m_bDragStarted = TRUE;
                    break;
                case WM_KEYDOWN:
                    if (msg.wParam == VK_ESCAPE)
                        cancelled = true;
                    break;
                case WM_QUIT:
                    // The loop that ends belongs to someone else: put the request back.
                    ::PostQuitMessage(static_cast<int>(msg.wParam));
                    cancelled = true;
                    break;
                default:
                    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) {
                        ::TranslateMessage(&msg);
                        ::DispatchMessageW(&msg);
                    }
                    break;
            }
            continue;
        }
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= delay) {
            m_bDragStarted = TRUE;
            break;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, delay - elapsed, QS_ALLINPUT);
    }
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    return m_bDragStarted;
}

// ---- COleDataSource -----------------------------------------------------------------------

class COleDataSource::Impl : public ComObject<IDataObject> {
public:
    ~Impl() override { Empty(); }

    void Cache(const FORMATETC& format, HGLOBAL hGlobal)
    {
        for (Entry& entry : m_entries) {
            if (entry.format.cfFormat == format.cfFormat && entry.format.dwAspect == format.dwAspect &&
                entry.format.lindex == format.lindex) {
                ::ReleaseStgMedium(&entry.medium);
                entry.format = format;
                entry.medium = Medium(hGlobal);
                return;
            }
        }
        m_entries.push_back(Entry{format, Medium(hGlobal)});
    }

    void Empty()
    {
        for (Entry& entry : m_entries)
            ::ReleaseStgMedium(&entry.medium);
        m_entries.clear();
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) override
    {
        if (pformatetcIn == nullptr || pmedium == nullptr)
            return E_INVALIDARG;
        const Entry* pEntry = Find(*pformatetcIn);
        if (pEntry == nullptr)
            return DV_E_FORMATETC;
        // The caller gets its own copy and frees it.
        HGLOBAL hCopy =
            static_cast<HGLOBAL>(::OleDuplicateData(pEntry->medium.hGlobal, pEntry->format.cfFormat, GMEM_MOVEABLE));
        if (hCopy == nullptr)
            return E_OUTOFMEMORY;
        *pmedium = Medium(hCopy);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* pformatetc, STGMEDIUM* pmedium) override
    {
        if (pformatetc == nullptr || pmedium == nullptr)
            return E_INVALIDARG;
        const Entry* pEntry = Find(*pformatetc);
        if (pEntry == nullptr)
            return DV_E_FORMATETC;
        if (pmedium->tymed != TYMED_HGLOBAL || pmedium->hGlobal == nullptr)
            return DV_E_TYMED;
        const SIZE_T size = ::GlobalSize(pEntry->medium.hGlobal);
        if (::GlobalSize(pmedium->hGlobal) < size)
            return STG_E_MEDIUMFULL;
        const void* pSource = ::GlobalLock(pEntry->medium.hGlobal);
        void* pTarget = ::GlobalLock(pmedium->hGlobal);
        HRESULT hr = E_OUTOFMEMORY;
        if (pSource != nullptr && pTarget != nullptr) {
            ::CopyMemory(pTarget, pSource, size);
            hr = S_OK;
        }
        if (pTarget != nullptr)
            ::GlobalUnlock(pmedium->hGlobal);
        if (pSource != nullptr)
            ::GlobalUnlock(pEntry->medium.hGlobal);
        return hr;
    }

    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* pformatetc) override
    {
        if (pformatetc == nullptr)
            return E_INVALIDARG;
        return Find(*pformatetc) != nullptr ? S_OK : DV_E_FORMATETC;
    }

    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* /*pformatectIn*/, FORMATETC* pformatetcOut) override
    {
        if (pformatetcOut == nullptr)
            return E_INVALIDARG;
        pformatetcOut->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }

    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* /*pformatetc*/, STGMEDIUM* /*pmedium*/, BOOL /*fRelease*/) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc) override
    {
        if (ppenumFormatEtc == nullptr)
            return E_INVALIDARG;
        *ppenumFormatEtc = nullptr;
        if (dwDirection != DATADIR_GET)
            return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (const Entry& entry : m_entries)
            formats.push_back(entry.format);
        return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), ppenumFormatEtc);
    }

    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    struct Entry {
        FORMATETC format;
        STGMEDIUM medium;
    };

    static STGMEDIUM Medium(HGLOBAL hGlobal)
    {
        STGMEDIUM medium = {};
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = hGlobal;
        medium.pUnkForRelease = nullptr;
        return medium;
    }

    const Entry* Find(const FORMATETC& wanted) const
    {
        for (const Entry& entry : m_entries) {
            if (entry.format.cfFormat == wanted.cfFormat && (entry.format.tymed & wanted.tymed) != 0 &&
                entry.format.dwAspect == wanted.dwAspect &&
                (wanted.lindex == -1 || entry.format.lindex == wanted.lindex))
                return &entry;
        }
        return nullptr;
    }

    std::vector<Entry> m_entries;
};

COleDataSource::COleDataSource() : m_pImpl(new Impl) {}

COleDataSource::~COleDataSource()
{
    m_pImpl->Release();
}

IDataObject* COleDataSource::GetInterface() const
{
    return m_pImpl;
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc)
{
    if (hGlobal == nullptr)
        return;
    FORMATETC format = lpFormatEtc != nullptr ? *lpFormatEtc : GlobalFormat(cfFormat);
    format.cfFormat = cfFormat;
    format.tymed = TYMED_HGLOBAL;
    format.ptd = nullptr;
    m_pImpl->Cache(format, hGlobal);
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag, COleDropSource* pDropSource)
{
    COleDropSource defaultSource;
    if (pDropSource == nullptr)
        pDropSource = &defaultSource;

    // The start rectangle: the one given, else a drag-sized one around the cursor.
    if (lpRectStartDrag != nullptr) {
        pDropSource->m_rectStartDrag = *lpRectStartDrag;
    } else {
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        pDropSource->m_rectStartDrag = CRect(cursor.x, cursor.y, cursor.x, cursor.y);
    }
    if (::IsRectEmpty(&pDropSource->m_rectStartDrag))
        ::InflateRect(&pDropSource->m_rectStartDrag, ::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG));

    // The button held now drags; the other one cancels.
    if (::GetKeyState(VK_RBUTTON) < 0 && ::GetKeyState(VK_LBUTTON) >= 0) {
        pDropSource->m_dwButtonDrop = MK_RBUTTON;
        pDropSource->m_dwButtonCancel = MK_LBUTTON;
    } else {
        pDropSource->m_dwButtonDrop = MK_LBUTTON;
        pDropSource->m_dwButtonCancel = MK_RBUTTON;
    }

    if (!pDropSource->OnBeginDrag(CWnd::FromHandle(::GetFocus())))
        return DROPEFFECT_NONE;

    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = ::DoDragDrop(m_pImpl, pDropSource->GetInterface(), dwEffects, &effect);
    if (hr != DRAGDROP_S_DROP)
        return DROPEFFECT_NONE;
    return effect;
}
