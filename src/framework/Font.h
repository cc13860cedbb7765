// CFont: one GDI font owned by one object: made by CreateFont, deleted by DeleteObject or with the
// object. It counts the fonts it has made and not yet deleted, so that a test can prove none leaks.
#pragma once

#include "framework/Afx.h"

class CFont {
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, const char* faceName);
    BOOL DeleteObject();
    operator HFONT() const { return m_hObject; }

    // Fonts made through this class that still exist.
    static int LiveCount();

    HFONT m_hObject = nullptr;
};
