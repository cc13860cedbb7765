// CFont: creation and deletion of the font, and the count of fonts alive.
#include "framework/Font.h"

namespace {
int g_nLiveFonts = 0;
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, const char* faceName)
{
    DeleteObject();
    m_hObject = ::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                              outPrecision, clipPrecision, quality, pitchAndFamily, faceName);
    if (!m_hObject) return FALSE;
    ++g_nLiveFonts;
    return TRUE;
}

BOOL CFont::DeleteObject()
{
    if (!m_hObject) return FALSE;
    BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    // A font that could not be deleted stays counted: it is leaked.
    if (deleted) --g_nLiveFonts;
    return deleted;
}

int CFont::LiveCount()
{
    return g_nLiveFonts;
}
