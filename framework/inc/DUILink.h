// "Link": a text that opens its address ("href") when clicked. Only the drawn text reacts to
// the mouse: the hot rectangle, placed at every paint where the text alignment puts the text.
#pragma once

#include "DUIWindow.h"

namespace DMAttr {

class DUILinkAttr {
public:
    static const wchar_t* STRING_href;
};

}  // namespace DMAttr

namespace DM {

class DUILink : public DUIWindow {
    DMDECLARE_CLASS_NAME(DUILink, DUIWindow, L"Link", L"window", DMREG_Window)
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    DMCode DrawText(IDMCanvas* canvas, const wchar_t* text, int length, RECT& rect,
                    UINT format) override;
    // Over the text the style's cursor (1 when the style has none); elsewhere 1, no cursor.
    DMCode OnSetCursor(const POINT& point) override;

    RECT m_rcHot{0, 0, 0, 0};
    DMStringT m_strHref;

private:
    // Inside the hot rectangle, or anywhere while no text was drawn yet.
    bool IsOverText(POINT point) const;
    void OnMouseMoveOverLink(POINT point);
    void OnReleaseOverLink(WPARAM wParam, LPARAM lParam);
    void OpenHref();
};

}  // namespace DM
