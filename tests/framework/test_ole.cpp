// OLE drag and drop of the class library: effect filtering, the data source's data object, the
// drop target's registration and its answers to OLE, the drop source's start, and a whole drag
// through ole32's own DoDragDrop between two windows of this thread.
#include "framework/framework.h"

#include <gtest/gtest.h>

#include "tests/support/Cursor.h"

#include <functional>
#include <string>
#include <vector>

namespace {

HGLOBAL TextBlock(const std::wstring& text)
{
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (hGlobal == nullptr)
        return nullptr;
    void* p = ::GlobalLock(hGlobal);
    ::CopyMemory(p, text.c_str(), bytes);
    ::GlobalUnlock(hGlobal);
    return hGlobal;
}

std::wstring BlockText(HGLOBAL hGlobal)
{
    if (hGlobal == nullptr)
        return L"<null>";
    const auto* p = static_cast<const wchar_t*>(::GlobalLock(hGlobal));
    std::wstring text = p != nullptr ? p : L"<unlocked>";
    ::GlobalUnlock(hGlobal);
    return text;
}

FORMATETC TextFormat(CLIPFORMAT cf = CF_UNICODETEXT)
{
    return FORMATETC{cf, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

std::wstring GetText(IDataObject* pData)
{
    FORMATETC format = TextFormat();
    STGMEDIUM medium = {};
    if (FAILED(pData->GetData(&format, &medium)))
        return L"<no data>";
    std::wstring text = BlockText(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    return text;
}

// A plain top-level window to register and to drop on (a window that takes the mouse: ole32
// finds its target with WindowFromPoint, which passes over static controls).
class PlainWindow : public CWnd {
public:
    bool Make(int x, int y)
    {
        static const bool registered = [] {
            WNDCLASSW wc = {};
            wc.lpfnWndProc = ::DefWindowProcW;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            wc.lpszClassName = L"OleTestWindow";
            return ::RegisterClassW(&wc) != 0;
        }();
        return registered &&
               CreateEx(0, L"OleTestWindow", L"", WS_POPUP | WS_VISIBLE, x, y, 200, 150, nullptr, nullptr) != FALSE;
    }
    ~PlainWindow() override
    {
        if (m_hWnd != nullptr)
            DestroyWindow();
    }
};

// A drop target that records what OLE (or a test playing OLE) asks of it.
class RecordingTarget : public COleDropTarget {
public:
    struct Call {
        std::string what;
        CPoint point;
        DWORD arg;  // key state or drop effect
    };
    std::vector<Call> calls;
    DROPEFFECT answer = DROPEFFECT_COPY;
    BOOL dropAnswer = TRUE;
    std::wstring droppedText;

    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* pData, DWORD dwKeyState, CPoint point) override
    {
        calls.push_back({"enter", point, dwKeyState});
        seenData = pData->m_lpDataObject != nullptr;
        return answer;
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD dwKeyState, CPoint point) override
    {
        calls.push_back({"over", point, dwKeyState});
        return answer;
    }
    BOOL OnDrop(CWnd*, COleDataObject* pData, DROPEFFECT dropEffect, CPoint point) override
    {
        calls.push_back({"drop", point, dropEffect});
        if (HGLOBAL hGlobal = pData->GetGlobalData(CF_UNICODETEXT)) {
            droppedText = BlockText(hGlobal);
            ::GlobalFree(hGlobal);
        }
        return dropAnswer;
    }
    void OnDragLeave(CWnd*) override { calls.push_back({"leave", CPoint(), 0}); }

    std::string Sequence() const
    {
        std::string s;
        for (const Call& c : calls)
            s += (s.empty() ? "" : " ") + c.what;
        return s;
    }
    bool seenData = false;
};

class OleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(AfxOleInit()); }
};

}  // namespace

TEST(OleDropEffect, KeepsWhatTheSourceAllowsAndFallsBackOtherwise)
{
    const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(DROPEFFECT_MOVE, AfxFilterDropEffect(DROPEFFECT_MOVE, all));
    EXPECT_EQ(DROPEFFECT_MOVE, AfxFilterDropEffect(DROPEFFECT_COPY, DROPEFFECT_MOVE));
    EXPECT_EQ(DROPEFFECT_LINK, AfxFilterDropEffect(DROPEFFECT_COPY, DROPEFFECT_LINK));
    EXPECT_EQ(DROPEFFECT_COPY, AfxFilterDropEffect(DROPEFFECT_MOVE, DROPEFFECT_COPY | DROPEFFECT_LINK));
    EXPECT_EQ(DROPEFFECT_LINK, AfxFilterDropEffect(DROPEFFECT_MOVE, DROPEFFECT_LINK));
    EXPECT_EQ(DROPEFFECT_NONE, AfxFilterDropEffect(DROPEFFECT_LINK, DROPEFFECT_COPY | DROPEFFECT_MOVE));
    EXPECT_EQ(DROPEFFECT_NONE, AfxFilterDropEffect(DROPEFFECT_NONE, all));
    EXPECT_EQ(DROPEFFECT_SCROLL, AfxFilterDropEffect(DROPEFFECT_SCROLL, all));
    EXPECT_EQ(DROPEFFECT_SCROLL | DROPEFFECT_MOVE,
              AfxFilterDropEffect(DROPEFFECT_SCROLL | DROPEFFECT_COPY, DROPEFFECT_MOVE));
}

TEST_F(OleTest, DataSourceHandsOutCopiesOfItsBlocksByFormat)
{
    COleDataSource source;
    source.CacheGlobalData(CF_UNICODETEXT, TextBlock(L"first"));
    source.CacheGlobalData(CF_UNICODETEXT, TextBlock(L"r1\tx\r\nr2\ty"));  // replaces the first
    IDataObject* pData = source.GetInterface();

    FORMATETC text = TextFormat();
    FORMATETC ansi = TextFormat(CF_TEXT);
    FORMATETC file = TextFormat();
    file.tymed = TYMED_FILE;
    EXPECT_EQ(S_OK, pData->QueryGetData(&text));
    EXPECT_EQ(DV_E_FORMATETC, pData->QueryGetData(&ansi));
    EXPECT_EQ(DV_E_FORMATETC, pData->QueryGetData(&file));
    EXPECT_EQ(L"r1\tx\r\nr2\ty", GetText(pData));
    EXPECT_EQ(L"r1\tx\r\nr2\ty", GetText(pData)) << "every caller gets its own copy";

    IEnumFORMATETC* pEnum = nullptr;
    ASSERT_EQ(S_OK, pData->EnumFormatEtc(DATADIR_GET, &pEnum));
    FORMATETC formats[3] = {};
    ULONG fetched = 0;
    pEnum->Next(3, formats, &fetched);
    pEnum->Release();
    ASSERT_EQ(1u, fetched);
    EXPECT_EQ(CF_UNICODETEXT, formats[0].cfFormat);
    EXPECT_EQ(static_cast<DWORD>(TYMED_HGLOBAL), formats[0].tymed);

    DWORD connection = 0;
    EXPECT_EQ(OLE_E_ADVISENOTSUPPORTED, pData->DAdvise(&text, 0, nullptr, &connection));
    STGMEDIUM medium = {};
    EXPECT_EQ(E_NOTIMPL, pData->SetData(&text, &medium, FALSE));
}

TEST_F(OleTest, DataObjectOutlivesItsSourceWhileSomeoneHoldsIt)
{
    IDataObject* pHeld = nullptr;
    {
        COleDataSource source;
        source.CacheGlobalData(CF_UNICODETEXT, TextBlock(L"kept"));
        pHeld = source.GetInterface();
        pHeld->AddRef();
    }
    EXPECT_EQ(L"kept", GetText(pHeld));
    EXPECT_EQ(0u, pHeld->Release());
}

TEST_F(OleTest, DataObjectWrapperReadsAndReleasesWhatItWraps)
{
    COleDataSource source;
    source.CacheGlobalData(CF_UNICODETEXT, TextBlock(L"text"));
    IDataObject* pData = source.GetInterface();
    pData->AddRef();
    {
        COleDataObject wrapper;
        wrapper.Attach(pData, TRUE);
        HGLOBAL hGlobal = wrapper.GetGlobalData(CF_UNICODETEXT);
        EXPECT_EQ(L"text", BlockText(hGlobal));
        ::GlobalFree(hGlobal);
        EXPECT_EQ(nullptr, wrapper.GetGlobalData(CF_TEXT));
    }
    // The wrapper gave back the reference it was handed: only the source's own is left.
    pData->AddRef();
    EXPECT_EQ(1u, pData->Release());

    COleDataObject empty;
    EXPECT_EQ(nullptr, empty.GetGlobalData(CF_UNICODETEXT));
}

TEST_F(OleTest, RegistersAWindowOnceAndRevokesItAgain)
{
    PlainWindow window;
    ASSERT_TRUE(window.Make(50, 50));
    {
        COleDropTarget target;
        ASSERT_TRUE(target.Register(&window));
        EXPECT_EQ(window.m_hWnd, target.GetRegisteredWindow());
        EXPECT_FALSE(target.Register(&window)) << "already registered";
        COleDropTarget other;
        EXPECT_FALSE(other.Register(&window)) << "the window has a target";
        EXPECT_EQ(nullptr, other.GetRegisteredWindow());

        target.Revoke();
        EXPECT_EQ(nullptr, target.GetRegisteredWindow());
        ASSERT_TRUE(other.Register(&window));
        // other's destructor revokes its registration
    }
    COleDropTarget last;
    EXPECT_TRUE(last.Register(&window));
    EXPECT_FALSE(last.Register(nullptr));
}

TEST_F(OleTest, TargetAnswersOleInClientCoordinatesWithEffectsTheSourceAllows)
{
    PlainWindow window;
    ASSERT_TRUE(window.Make(100, 80));
    RecordingTarget target;
    ASSERT_TRUE(target.Register(&window));
    COleDataSource source;
    source.CacheGlobalData(CF_UNICODETEXT, TextBlock(L"dropped"));
    IDropTarget* pTarget = target.GetInterface();

    POINT origin = {0, 0};
    ::ClientToScreen(window.m_hWnd, &origin);
    const POINTL at = {origin.x + 10, origin.y + 20};
    DWORD effect = DROPEFFECT_MOVE;  // the source allows moving only; the target asks for a copy
    ASSERT_EQ(S_OK, pTarget->DragEnter(source.GetInterface(), MK_LBUTTON, at, &effect));
    EXPECT_EQ(DROPEFFECT_MOVE, effect);
    EXPECT_TRUE(target.seenData);
    effect = DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, pTarget->DragOver(MK_LBUTTON, at, &effect));
    EXPECT_EQ(DROPEFFECT_MOVE, effect);
    effect = DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, pTarget->Drop(source.GetInterface(), 0, at, &effect));
    EXPECT_EQ(DROPEFFECT_MOVE, effect);
    EXPECT_EQ("enter over over drop", target.Sequence());
    for (const RecordingTarget::Call& call : target.calls)
        EXPECT_EQ(CPoint(10, 20), call.point) << call.what;
    EXPECT_EQ(DROPEFFECT_MOVE, target.calls.back().arg);
    EXPECT_EQ(L"dropped", target.droppedText);

    // Refused by the handler: the source learns that nothing was dropped.
    target.calls.clear();
    target.dropAnswer = FALSE;
    effect = DROPEFFECT_COPY;
    ASSERT_EQ(S_OK, pTarget->DragEnter(source.GetInterface(), MK_LBUTTON, at, &effect));
    effect = DROPEFFECT_COPY;
    ASSERT_EQ(S_OK, pTarget->Drop(source.GetInterface(), 0, at, &effect));
    EXPECT_EQ(DROPEFFECT_NONE, effect);
    EXPECT_EQ("enter over drop", target.Sequence());

    // No effect the source allows, or only scrolling, at the drop point: a leave and no drop.
    for (DROPEFFECT answer : {DROPEFFECT(DROPEFFECT_LINK), DROPEFFECT(DROPEFFECT_SCROLL)}) {
        target.calls.clear();
        target.answer = answer;
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ASSERT_EQ(S_OK, pTarget->Drop(source.GetInterface(), 0, at, &effect));
        EXPECT_EQ(DROPEFFECT_NONE, effect);
        EXPECT_EQ("over leave", target.Sequence());
    }
    target.calls.clear();
    ASSERT_EQ(S_OK, pTarget->DragLeave());
    EXPECT_EQ("leave", target.Sequence());
}

TEST_F(OleTest, TargetObjectKeptByOleAfterItsOwnerIsGoneRefusesEveryDrop)
{
    PlainWindow window;
    ASSERT_TRUE(window.Make(100, 80));
    auto* pOwner = new RecordingTarget;
    ASSERT_TRUE(pOwner->Register(&window));
    IDropTarget* pTarget = pOwner->GetInterface();
    pTarget->AddRef();
    delete pOwner;  // revokes

    EXPECT_EQ(S_OK, ::RegisterDragDrop(window.m_hWnd, pTarget)) << "the window is free again";
    EXPECT_EQ(S_OK, ::RevokeDragDrop(window.m_hWnd));
    COleDataSource source;
    DWORD effect = DROPEFFECT_COPY;
    const POINTL at = {120, 100};
    EXPECT_EQ(S_OK, pTarget->DragEnter(source.GetInterface(), 0, at, &effect));
    EXPECT_EQ(DROPEFFECT_NONE, effect);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pTarget->Drop(source.GetInterface(), 0, at, &effect));
    EXPECT_EQ(DROPEFFECT_NONE, effect);
    EXPECT_EQ(0u, pTarget->Release());
}

TEST_F(OleTest, DropSourceContinuesWhileTheDraggingButtonIsHeld)
{
    COleDropSource source;
    source.m_dwButtonDrop = MK_LBUTTON;
    source.m_dwButtonCancel = MK_RBUTTON;
    EXPECT_EQ(S_OK, source.QueryContinueDrag(FALSE, MK_LBUTTON));
    EXPECT_EQ(DRAGDROP_S_DROP, source.QueryContinueDrag(FALSE, 0));
    EXPECT_EQ(DRAGDROP_S_CANCEL, source.QueryContinueDrag(TRUE, MK_LBUTTON));
    EXPECT_EQ(DRAGDROP_S_CANCEL, source.QueryContinueDrag(FALSE, MK_LBUTTON | MK_RBUTTON));
    EXPECT_EQ(DRAGDROP_S_USEDEFAULTCURSORS, source.GiveFeedback(DROPEFFECT_MOVE));
}

TEST_F(OleTest, DropSourceStartsWhenTheCursorLeavesTheStartRectangleOrTheDelayPasses)
{
    PlainWindow window;
    ASSERT_TRUE(window.Make(100, 80));
    ::SetForegroundWindow(window.m_hWnd);
    COleDropSource source;
    source.m_rectStartDrag = CRect(300, 300, 310, 310);

    // A move that ends outside the rectangle starts the drag at once.
    ASSERT_TRUE(::SetCursorPos(400, 400));
    window.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    DWORD start = ::GetTickCount();
    EXPECT_TRUE(source.OnBeginDrag(&window));
    EXPECT_LT(::GetTickCount() - start, 150u);
    EXPECT_EQ(nullptr, ::GetCapture()) << "the capture is given back";

    // Releasing the button or Escape before that: no drag.
    window.PostMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(source.OnBeginDrag(&window));
    window.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(source.OnBeginDrag(&window));

    // Held still inside the rectangle: the drag starts after the delay.
    ASSERT_TRUE(::SetCursorPos(305, 305));
    start = ::GetTickCount();
    EXPECT_TRUE(source.OnBeginDrag(&window));
    EXPECT_GE(::GetTickCount() - start, static_cast<DWORD>(DD_DEFDRAGDELAY) - 20);
}

namespace {

// A drop source that moves the cursor itself, as the user's hand would: to the target, and it
// holds it there (a late move from before can still carry the cursor back on a busy machine)
// until the cursor reads there and the target has seen the drag over it; then it drops (or
// cancels). ole32's DoDragDrop follows the cursor. Past the bound the drop goes ahead anyway, and
// the test reads what the target saw.
class ScriptedSource : public COleDropSource {
public:
    POINT to = {};
    bool cancel = false;
    const RecordingTarget* target = nullptr;
    DWORD started = 0;
    bool asked = false;
    BOOL OnBeginDrag(CWnd*) override { return TRUE; }
    SCODE QueryContinueDrag(BOOL, DWORD) override
    {
        if (!asked) {
            asked = true;
            started = ::GetTickCount();
        }
        POINT at = {};
        const bool there = ::GetCursorPos(&at) && at.x == to.x && at.y == to.y;
        if (!there)
            ::SetCursorPos(to.x, to.y);
        const bool seen = target != nullptr && !target->calls.empty() && target->calls.back().what == "over";
        if (!(there && seen) && ::GetTickCount() - started < uitest::kGenerousWaitMs)
            return S_OK;
        return cancel ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
    }
};

}  // namespace

TEST_F(OleTest, WholeDragThroughOleDropsTheDataOnTheRegisteredWindow)
{
    PlainWindow from;
    PlainWindow onto;
    ASSERT_TRUE(from.Make(20, 20));
    ASSERT_TRUE(onto.Make(400, 300));
    RecordingTarget target;
    target.answer = DROPEFFECT_MOVE;
    ASSERT_TRUE(target.Register(&onto));

    COleDataSource data;
    data.CacheGlobalData(CF_UNICODETEXT, TextBlock(L"row text"));
    ScriptedSource source;
    source.to = {450, 350};
    source.target = &target;
    ASSERT_TRUE(uitest::PutCursorAt(from.m_hWnd, {30, 30}));
    EXPECT_EQ(DROPEFFECT_MOVE, data.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, &source));
    ASSERT_FALSE(target.calls.empty());
    EXPECT_EQ("enter", target.calls.front().what);
    EXPECT_EQ("drop", target.calls.back().what);
    EXPECT_EQ(CPoint(50, 50), target.calls.back().point);
    EXPECT_EQ(L"row text", target.droppedText);

    // Cancelled over the target: it sees the drag leave, and the source gets no effect.
    target.calls.clear();
    ScriptedSource cancelling;
    cancelling.to = {450, 350};
    cancelling.cancel = true;
    cancelling.target = &target;
    ASSERT_TRUE(uitest::PutCursorAt(from.m_hWnd, {30, 30}));
    EXPECT_EQ(DROPEFFECT_NONE, data.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, &cancelling));
    ASSERT_FALSE(target.calls.empty());
    EXPECT_EQ("leave", target.calls.back().what);
}

TEST(OleWaitCursor, ShowsTheHourglassAndPutsTheCursorBack)
{
    HCURSOR hArrow = ::LoadCursorW(nullptr, IDC_ARROW);
    ::SetCursor(hArrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(::LoadCursorW(nullptr, IDC_WAIT), ::GetCursor());
    }
    EXPECT_EQ(hArrow, ::GetCursor());
}
