// The widget's paint handlers: background, text and non-client band, in its style's colours,
// fonts and skins for the current state.
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
    if (!canvas || !style || GetText().empty()) {
        return 0;
    }
    int state = 0;
    GetStateIndex(state);
    IDMFont* font = nullptr;
    IDMMetaFile* previousFont = nullptr;
    if (style->GetTextFont(state, &font) == DM_ECODE_OK) {
        canvas->SelectObject(font, &previousFont);
    }
    DMColor color;
    style->GetTextColor(state, color);
    DMColor previousColor = canvas->GetTextColor();
    if (!(color == kUnset)) {
        canvas->SetTextColor(color, nullptr);
    }
    RECT text{};
    GetTextRect(text);
    UINT format = 0;
    style->GetTextAlign(format);
    DrawText(canvas, GetText().c_str(), -1, text, format);
    canvas->SetTextColor(previousColor, nullptr);
    if (previousFont) {
        canvas->SelectObject(previousFont, nullptr);
        previousFont->Release();
    }
    if (font) {
        font->Release();
    }
    return 0;
}

LRESULT DUIWindow::OnNcPaint(WPARAM canvasParam, LPARAM) {
    auto* canvas = reinterpret_cast<IDMCanvas*>(canvasParam);
    IDMStyle* style = GetStyle();
    RECT margin{};
    if (!canvas || !style || style->GetNcMargin(margin) != DM_ECODE_OK ||
        (margin.left == 0 && margin.top == 0 && margin.right == 0 && margin.bottom == 0)) {
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
    return 0;
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
    IDMRender* render = nullptr;
    if (DMApp::GetObjPtr()->GetDefRegObj(&render, DMREG_Render) != DM_ECODE_OK) {
        return DM_ECODE_FAIL;
    }
    auto renderer = DMSmartPtrT<IDMRender>::Adopt(render);
    IDMCanvas* created = nullptr;
    renderer->CreateCanvas(0, 0, &created);
    auto canvas = DMSmartPtrT<IDMCanvas>::Adopt(created);
    IDMFont* font = nullptr;
    if (style->GetTextFont(0, &font) == DM_ECODE_OK) {
        canvas->SelectObject(font, nullptr);
        font->Release();
    }
    UINT format = 0;
    style->GetTextAlign(format);
    RECT measured{0, 0, 32767, 32767};
    canvas->DrawText(GetText().c_str(), -1, measured, (format & ~0xFu) | DT_CALCRECT, 0xFF);
    RECT margin{};
    style->GetNcMargin(margin);
    size = {measured.right - measured.left + margin.left + margin.right,
            measured.bottom - measured.top + margin.top + margin.bottom};
    return DM_ECODE_OK;
}

}  // namespace DM
