// Dialog templates built in memory, so a test can describe the dialog it needs next to the test.
#pragma once

#include <windows.h>

#include <vector>

namespace uitest {

class DialogTemplate {
public:
    // A dialog of the given style and size in dialog units; DS_SETFONT is added with the font.
    DialogTemplate(DWORD style, short cx, short cy, const wchar_t* caption, const wchar_t* font = L"MS Shell Dlg",
                   WORD pointSize = 8);

    // Adds a control of a window class given by name ("Button", "Edit", "SysIPAddress32", ...).
    // WS_CHILD | WS_VISIBLE are added to the style.
    DialogTemplate& Control(const wchar_t* className, const wchar_t* text, WORD id, DWORD style, short x, short y,
                            short cx, short cy, DWORD exStyle = 0);

    LPCDLGTEMPLATEW Get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(m_words.data()); }

private:
    void Append(const wchar_t* text);
    void AppendDword(DWORD value);
    void AlignDword();

    std::vector<WORD> m_words;
    size_t m_countIndex;
};

}  // namespace uitest
