// The widget's paint handlers: background, text and non-client band, in its style's colours,
// fonts and skins for the current state.
#include <algorithm>
#include <cwchar>

#include "DMApp.h"
#include "DUIWindow.h"

namespace DM {
namespace {

const DMColor kUnset = DMColor::FromValue(PBGRA_NONE);

DMColor Scaled(DMColor color, BYTE alpha) {
    if (alpha != 0xFF) {
        color = DMColor(
            static_cast<BYTE>(color.r * alpha / 255), static_cast<BYTE>(color.g * alpha / 255),
            static_cast<BYTE>(color.b * alpha / 255), static_cast<BYTE>(color.a * alpha / 255));
    }
    return color;
}

// Draws the style's background (or non-client) skin in the state, or fills with the state's
// colour when there is no skin.
void DrawStateBackground(IDMCanvas* canvas, const RECT& rect, IDMStyle* style, int state,
                         bool nonClient) {
    BYTE alpha = 0xFF;
    style->GetAlpha(alpha);
    IDMSkin* skin = nullptr;
    DMColor color;
    if (nonClient) {
        style->GetNcSkin(&skin);
        style->GetNcColor(state, color);
    } else {
        style->GetBgSkin(&skin);
        style->GetBgColor(state, color);
    }
    if (skin) {
        int states = 0;
        skin->GetStates(states);
        skin->Draw(canvas, rect, state < states ? state : 0, alpha);
        skin->Release();
    } else if (!(color == kUnset)) {
        canvas->FillSolidRect(rect, Scaled(color, alpha));
    }
}

}  // namespace

LRESULT DUIWindow::OnEraseBkgnd(WPARAM canvasParam, LPARAM) {
    auto* canvas = reinterpret_cast<IDMCanvas*>(canvasParam);
    IDMStyle* style = GetStyle();
    RECT client{};
    if (!canvas || !style || GetClientRect(client) != DM_ECODE_OK) {
        return 1;
    }
    int state = 0;
    GetStateIndex(state);
    DrawStateBackground(canvas, client, style, state, false);
    return 1;
}

LRESULT DUIWindow::OnPaint(WPARAM canvasParam, LPARAM) {
    auto* canvas = reinterpret_cast<IDMCanvas*>(canvasParam);
    IDMStyle* style = GetStyle();
    bool drawFocus = XmlInfo().m_bShowDrawFocus && IsFocused();
    if (!canvas || !style || (GetText().empty() && !drawFocus)) {
        return 0;
    }
    DUIDrawEnviron saved;
    bool environ = IsDrawEnvironNeeded();
    if (environ) {
        PushDrawEnviron(canvas, saved);
    }
    RECT text{};
    GetTextRect(text);
    UINT format = 0;
    style->GetTextAlign(format);
    DMStringT shown;
    GetTransText(shown, GetText());
    if (!shown.empty()) {
        DrawText(canvas, shown.c_str(), -1, text, format);
    }
    if (drawFocus) {
        DrawFocus(canvas);
    }
    if (environ) {
        PopDrawEnviron(canvas, saved);
    }
    return 0;
}

// With a container, through the translation table its host names; without, as it is.
DMCode DUIWindow::GetTransText(DMStringT& out, const DMStringT& text) {
    DMStringT set;
    if (!m_pContainer || m_pContainer->OnGetTransId(set) != DM_ECODE_OK) {
        out = text;
        return DM_ECODE_OK;
    }
    return DMApp::GetObjPtr()->GetTrans(out, text, set, DMStringT());
}

DMCode DUIWindow::DrawFocus(IDMCanvas* canvas) {
    if (!IsFocusable()) {
        return DM_ECODE_FAIL;
    }
    RECT text{};
    GetTextRect(text);
    return DrawDefFocusRect(canvas, text);
}

DMCode DUIWindow::DrawDefFocusRect(IDMCanvas* canvas, const RECT& rect) {
    IDMRender* render = nullptr;
    if (!canvas || DMApp::GetObjPtr()->GetDefRegObj(&render, DMREG_Render) != DM_ECODE_OK) {
        return DM_ECODE_FAIL;
    }
    IDMPen* made = nullptr;
    render->CreatePen(DMColor::FromValue(0xFF585858), PS_DOT, 1, &made);
    render->Release();
    auto pen = DMSmartPtrT<IDMPen>::Adopt(made);
    if (!pen) {
        return DM_ECODE_FAIL;
    }
    IDMMetaFile* previous = nullptr;
    canvas->SelectObject(pen.get(), &previous);
    canvas->DrawRectangle({rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2});
    if (previous) {
        canvas->SelectObject(previous, nullptr);
        previous->Release();
    }
    return DM_ECODE_OK;
}

DMCode DUIWindow::PushDrawEnviron(IDMCanvas* canvas, DUIDrawEnviron& saved) {
    IDMStyle* style = GetStyle();
    if (!canvas || !style) {
        return DM_ECODE_FAIL;
    }
    int state = 0;
    GetStateIndex(state);
    // A style that sets no font of its own holds the pool's default font; it leaves the font
    // its ancestors selected, so fonts inherit down the tree.
    IDMFont* font = nullptr;
    if (style->GetTextFont(state, &font) == DM_ECODE_OK) {
        if (font != DMApp::GetObjPtr()->GetFont(L"")) {
            canvas->SelectObject(font, &saved.previousFont);
        }
        font->Release();
    }
    DMColor color;
    style->GetTextColor(state, color);
    saved.colorChanged = !(color == kUnset);
    if (saved.colorChanged) {
        canvas->SetTextColor(color, &saved.previousColor);
    }
    return DM_ECODE_OK;
}

DMCode DUIWindow::PopDrawEnviron(IDMCanvas* canvas, DUIDrawEnviron& saved) {
    if (!canvas) {
        return DM_ECODE_FAIL;
    }
    if (saved.colorChanged) {
        canvas->SetTextColor(saved.previousColor, nullptr);
    }
    if (saved.previousFont) {
        canvas->SelectObject(saved.previousFont, nullptr);
        saved.previousFont->Release();
        saved.previousFont = nullptr;
    }
    return DM_ECODE_OK;
}

DMCode DUIWindow::DrawMultiLineText(IDMCanvas* canvas, const wchar_t* text, int length, RECT& rect,
                                    UINT format, int lineSpacing) {
    std::size_t count =
        length < 0 ? (text ? std::wcslen(text) : 0) : static_cast<std::size_t>(length);
    if (!canvas || count == 0 || rect.right <= rect.left || rect.bottom <= rect.top) {
        return DM_ECODE_FAIL;
    }
    SIZE letter{};
    canvas->MeasureText(L"A", 1, letter);
    LONG lineHeight = letter.cy;
    bool measuring = format & DT_CALCRECT;
    LONG x = rect.left;
    LONG top = rect.top;
    LONG widest = rect.left;
    BYTE alpha = 0xFF;
    GetStyle()->GetAlpha(alpha);
    for (std::size_t i = 0; i < count; ++i) {
        bool breakHere = text[i] == L'\\' && i + 1 < count && text[i + 1] == L'n';
        SIZE glyph{};
        if (!breakHere) {
            canvas->MeasureText(text + i, 1, glyph);
        }
        if (breakHere || x + glyph.cx > rect.right) {
            top += lineHeight + lineSpacing;
            x = rect.left;
            if (top >= rect.bottom) {
                break;
            }
            if (breakHere) {
                ++i;
                continue;
            }
        }
        if (!measuring && top + lineHeight <= rect.bottom) {
            RECT cell{x, top, x + glyph.cx, top + lineHeight};
            canvas->DrawText(text + i, 1, cell, DT_SINGLELINE | DT_NOPREFIX, alpha);
        }
        x += glyph.cx;
        widest = std::max(widest, x);
    }
    if (measuring) {
        rect.right = widest;
        rect.bottom = top + lineHeight;
    }
    return DM_ECODE_OK;
}

// Without a canvas the band is repainted at once through a canvas of the widget's own.
LRESULT DUIWindow::OnNcPaint(WPARAM canvasParam, LPARAM) {
    IDMStyle* style = GetStyle();
    RECT margin{};
    if (!style || style->GetNcMargin(margin) != DM_ECODE_OK ||
        (margin.left == 0 && margin.top == 0 && margin.right == 0 && margin.bottom == 0)) {
        return 0;
    }
    auto* canvas = reinterpret_cast<IDMCanvas*>(canvasParam);
    bool own = !canvas;
    if (own && !(canvas = GetCanvas(&m_rcWindow, DMCANVAS_DRAWAROUND))) {
        return 0;
    }
    RECT client{};
    GetClientRect(client);
    canvas->PushClip(m_rcWindow, 1);
    canvas->ExcludeClipRect(client);
    int state = 0;
    GetStateIndex(state);
    DrawStateBackground(canvas, m_rcWindow, style, state, true);
    canvas->PopClip();
    if (own) {
        ReleaseCanvas(canvas);
    }
    return 0;
}

DMCode DUIWindow::OnSetCursor(const POINT&) {
    plat::HCURSOR cursor = nullptr;
    IDMStyle* style = GetStyle();
    if (!style || style->GetCursor(cursor) != DM_ECODE_OK) {
        return DM_ECODE_FAIL;
    }
    plat::SetCursor(cursor);
    return DM_ECODE_OK;
}

DMCode DUIWindow::OnUpdateToolTip(const POINT&, DMToolTipInfo& info) {
    const DUIWindow_XmlInfo& xml = XmlInfo();
    if (xml.m_strTipText.empty() && xml.m_strTipXmlId.empty()) {
        return DM_ECODE_FAIL;
    }
    info.hDUIWnd = m_hDUIWnd;
    info.rcTarget = m_rcWindow;
    info.strTip = xml.m_strTipText;
    info.strXmlId = xml.m_strTipXmlId;
    info.iDelayTime = xml.m_iTipDelay;
    info.iSpanTime = xml.m_iTipSpan;
    info.rcPosFlags = xml.m_rcTipFlags;
    SetScreenTarget(info);
    return DM_ECODE_OK;
}

void DUIWindow::SetScreenTarget(DMToolTipInfo& info) {
    info.rcScreenTarget = info.rcTarget;
    if (m_pContainer) {
        m_pContainer->OnClientToScreen(info.rcScreenTarget);
    }
}

DMCode DUIWindow::IsSkinAffected(int kind) {
    IDMStyle* style = GetStyle();
    if (kind != 1 || !style) {
        return DM_ECODE_FAIL;
    }
    bool affected = false;
    for (auto get : {&IDMStyle::GetBgSkin, &IDMStyle::GetNcSkin}) {
        IDMSkin* skin = nullptr;
        if ((style->*get)(&skin) == DM_ECODE_OK) {
            affected = affected || DMApp::GetObjPtr()->IsSkinUpdated(skin, 1);
            skin->Release();
        }
    }
    return affected ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DMCode DUIWindow::DrawText(IDMCanvas* canvas, const wchar_t* text, int length, RECT& rect,
                           UINT format) {
    BYTE alpha = 0xFF;
    if (IDMStyle* style = GetStyle()) {
        style->GetAlpha(alpha);
    }
    return canvas->DrawText(text, length, rect, format, alpha);
}

// Without text the skin's state size; with text its measured size plus the non-client band.
DMCode DUIWindow::GetDesiredSize(SIZE& size) {
    IDMStyle* style = GetStyle();
    if (!style) {
        return DM_ECODE_FAIL;
    }
    if (GetText().empty()) {
        IDMSkin* skin = nullptr;
        if (style->GetBgSkin(&skin) == DM_ECODE_OK) {
            skin->GetStateSize(size, 0);
            skin->Release();
        }
        return DM_ECODE_OK;
    }
    DMSmartPtrT<IDMCanvas> canvas = NewCanvas(0, 0);
    if (!canvas) {
        return DM_ECODE_FAIL;
    }
    DUIDrawEnvironStack environs;
    environs.Push(this, canvas.get());
    UINT format = 0;
    style->GetTextAlign(format);
    RECT measured{0, 0, 32767, 32767};
    canvas->DrawText(GetText().c_str(), -1, measured, (format & ~0xFu) | DT_CALCRECT, 0xFF);
    environs.Pop(canvas.get());
    RECT margin{};
    style->GetNcMargin(margin);
    size = {measured.right - measured.left + margin.left + margin.right,
            measured.bottom - measured.top + margin.top + margin.bottom};
    return DM_ECODE_OK;
}

}  // namespace DM
