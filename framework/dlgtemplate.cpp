// Dialog templates: finding them, and registering the common controls they use.
//
// InitCommonControlsEx registers only the classes it is asked for, so a template with, say, an IP
// address control fails to create unless ICC_INTERNET_CLASSES was registered first. The library
// reads the class names of a template's controls and registers what they need before it creates
// the dialog.
#include "framework/dialog.h"

#include "framework/app.h"

#include <commctrl.h>

namespace {

struct ControlClass {
    const wchar_t* name;
    DWORD icc;
};

const ControlClass kCommonControlClasses[] = {
    {L"SysIPAddress32", ICC_INTERNET_CLASSES},  {L"SysListView32", ICC_LISTVIEW_CLASSES},
    {L"SysHeader32", ICC_LISTVIEW_CLASSES},     {L"SysTreeView32", ICC_TREEVIEW_CLASSES},
    {L"SysTabControl32", ICC_TAB_CLASSES},      {L"tooltips_class32", ICC_TAB_CLASSES},
    {L"msctls_progress32", ICC_PROGRESS_CLASS}, {L"msctls_trackbar32", ICC_BAR_CLASSES},
    {L"msctls_statusbar32", ICC_BAR_CLASSES},   {L"ToolbarWindow32", ICC_BAR_CLASSES},
    {L"msctls_updown32", ICC_UPDOWN_CLASS},     {L"msctls_hotkey32", ICC_HOTKEY_CLASS},
    {L"SysAnimate32", ICC_ANIMATE_CLASS},       {L"SysDateTimePick32", ICC_DATE_CLASSES},
    {L"SysMonthCal32", ICC_DATE_CLASSES},       {L"ComboBoxEx32", ICC_USEREX_CLASSES},
    {L"ReBarWindow32", ICC_COOL_CLASSES},       {L"SysPager", ICC_PAGESCROLLER_CLASS},
    {L"NativeFontCtl", ICC_NATIVEFNTCTL_CLASS}, {L"SysLink", ICC_LINK_CLASS},
};

DWORD ClassToIcc(const wchar_t* name)
{
    for (const ControlClass& cls : kCommonControlClasses)
        if (lstrcmpiW(name, cls.name) == 0)
            return cls.icc;
    return 0;
}

// Walks a template's variable-length fields.
class TemplateReader {
public:
    explicit TemplateReader(const void* p) : m_p(static_cast<const BYTE*>(p)) {}
    WORD Word()
    {
        WORD w;
        memcpy(&w, m_p, sizeof(w));
        m_p += sizeof(w);
        return w;
    }
    void Skip(size_t n) { m_p += n; }
    // A name or ordinal field; returns the name, or null for an ordinal or an empty field.
    const wchar_t* NameOrOrdinal()
    {
        WORD first;
        memcpy(&first, m_p, sizeof(first));
        if (first == 0xFFFF) {
            m_p += 2 * sizeof(WORD);
            return nullptr;
        }
        return String();
    }
    const wchar_t* String()
    {
        const wchar_t* s = reinterpret_cast<const wchar_t*>(m_p);
        m_p += (lstrlenW(s) + 1) * sizeof(wchar_t);
        return s;
    }
    void AlignDword() { m_p = reinterpret_cast<const BYTE*>((reinterpret_cast<UINT_PTR>(m_p) + 3) & ~UINT_PTR(3)); }

private:
    const BYTE* m_p;
};

}  // namespace

LPCDLGTEMPLATEW AfxLoadDialogTemplate(LPCWSTR lpszTemplateName)
{
    if (lpszTemplateName == nullptr)
        return nullptr;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceW(hInst, lpszTemplateName, MAKEINTRESOURCEW(5));  // RT_DIALOG
    if (hResource == nullptr)
        return nullptr;
    HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
    if (hTemplate == nullptr)
        return nullptr;
    return static_cast<LPCDLGTEMPLATEW>(::LockResource(hTemplate));
}

DWORD AfxTemplateCommonControls(LPCDLGTEMPLATEW lpDialogTemplate)
{
    if (lpDialogTemplate == nullptr)
        return 0;
    TemplateReader reader(lpDialogTemplate);
    const WORD dlgVer = reader.Word();
    const WORD signature = reader.Word();
    const bool extended = dlgVer == 1 && signature == 0xFFFF;
    DWORD style;
    WORD nItems;
    if (extended) {
        reader.Skip(sizeof(DWORD) * 2);  // help id, extended style
        style = reader.Word();
        style |= static_cast<DWORD>(reader.Word()) << 16;
        nItems = reader.Word();
    } else {
        style = dlgVer | (static_cast<DWORD>(signature) << 16);
        reader.Skip(sizeof(DWORD));  // extended style
        nItems = reader.Word();
    }
    reader.Skip(sizeof(short) * 4);  // x, y, cx, cy
    reader.NameOrOrdinal();          // menu
    reader.NameOrOrdinal();          // window class
    reader.String();                 // title
    if (style & DS_SETFONT) {
        reader.Word();  // point size
        if (extended)
            reader.Skip(sizeof(WORD) + 2 * sizeof(BYTE));  // weight, italic, charset
        reader.String();                                   // face name
    }

    DWORD icc = 0;
    for (WORD i = 0; i < nItems; ++i) {
        reader.AlignDword();
        if (extended)
            reader.Skip(sizeof(DWORD) * 3 + sizeof(short) * 4 + sizeof(DWORD));  // help, exstyle, style, rect, id
        else
            reader.Skip(sizeof(DWORD) * 2 + sizeof(short) * 4 + sizeof(WORD));  // style, exstyle, rect, id
        if (const wchar_t* className = reader.NameOrOrdinal(); className != nullptr)
            icc |= ClassToIcc(className);
        reader.NameOrOrdinal();  // title
        const WORD extra = reader.Word();
        reader.Skip(extra);
    }
    return icc;
}

BOOL AfxRegisterTemplateControls(LPCDLGTEMPLATEW lpDialogTemplate)
{
    static DWORD registered = 0;  // the classes are registered for the whole process
    const DWORD icc = AfxTemplateCommonControls(lpDialogTemplate) & ~registered;
    if (icc == 0)
        return TRUE;
    INITCOMMONCONTROLSEX init = {sizeof(init), icc};
    if (!::InitCommonControlsEx(&init))
        return FALSE;
    registered |= icc;
    return TRUE;
}
