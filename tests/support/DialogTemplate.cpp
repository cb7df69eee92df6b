// In-memory DLGTEMPLATE / DLGITEMTEMPLATE records, laid out as the resource compiler lays them out.
#include "tests/support/DialogTemplate.h"

namespace uitest {

DialogTemplate::DialogTemplate(DWORD style, short cx, short cy, const wchar_t* caption, const wchar_t* font,
                               WORD pointSize)
{
    if (font != nullptr)
        style |= DS_SETFONT;
    AppendDword(style);
    AppendDword(0);  // extended style
    m_countIndex = m_words.size();
    m_words.push_back(0);  // number of controls
    m_words.push_back(0);  // x
    m_words.push_back(0);  // y
    m_words.push_back(static_cast<WORD>(cx));
    m_words.push_back(static_cast<WORD>(cy));
    m_words.push_back(0);  // no menu
    m_words.push_back(0);  // the dialog class
    Append(caption ? caption : L"");
    if (font != nullptr) {
        m_words.push_back(pointSize);
        Append(font);
    }
}

DialogTemplate& DialogTemplate::Control(const wchar_t* className, const wchar_t* text, WORD id, DWORD style, short x,
                                        short y, short cx, short cy, DWORD exStyle)
{
    AlignDword();
    AppendDword(style | WS_CHILD | WS_VISIBLE);
    AppendDword(exStyle);
    m_words.push_back(static_cast<WORD>(x));
    m_words.push_back(static_cast<WORD>(y));
    m_words.push_back(static_cast<WORD>(cx));
    m_words.push_back(static_cast<WORD>(cy));
    m_words.push_back(id);
    Append(className);
    Append(text ? text : L"");
    m_words.push_back(0);  // no creation data
    ++m_words[m_countIndex];
    return *this;
}

void DialogTemplate::Append(const wchar_t* text)
{
    for (; *text != L'\0'; ++text)
        m_words.push_back(static_cast<WORD>(*text));
    m_words.push_back(0);
}

void DialogTemplate::AppendDword(DWORD value)
{
    m_words.push_back(LOWORD(value));
    m_words.push_back(HIWORD(value));
}

void DialogTemplate::AlignDword()
{
    if (m_words.size() % 2 != 0)
        m_words.push_back(0);
}

}  // namespace uitest
