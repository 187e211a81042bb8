// Text dragged from elsewhere: while it is over the text a drop caret shows where it would go;
// dropping inserts it there as one undoable step and selects it. A read-only text, a full
// one and a text being composed refuse the drag.
#include <cwchar>

#include "textsvc/text_services_engine.h"

namespace plat::textsvc {
namespace {

std::optional<std::wstring> TextOf(IDataObject* data) {
    FORMATETC format{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (!data || data->GetData(&format, &medium) != S_OK) {
        return std::nullopt;
    }
    std::optional<std::wstring> text;
    if (const auto* units = static_cast<const wchar_t*>(GlobalLock(medium.hGlobal))) {
        std::size_t capacity = GlobalSize(medium.hGlobal) / sizeof(wchar_t);
        text.emplace(units, wcsnlen(units, capacity));
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return text;
}

}  // namespace

HRESULT TextServices::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
    if (!effect) {
        return E_INVALIDARG;
    }
    m_draggedText = TextOf(data);
    return DragOver(keys, point, effect);
}

HRESULT TextServices::DragOver(DWORD keys, POINTL point, DWORD* effect) {
    if (!effect) {
        return E_INVALIDARG;
    }
    *effect = DropEffect(keys, *effect);
    if (*effect == DROPEFFECT_NONE) {
        EndDropCaret();
        return S_OK;
    }
    LONG position = PositionAtScreenPoint(point);
    if (m_dropCaret != position) {
        m_dropCaret = position;
        Repaint();
        UpdateCaret();
    }
    return S_OK;
}

HRESULT TextServices::DragLeave() {
    m_draggedText.reset();
    EndDropCaret();
    return S_OK;
}

HRESULT TextServices::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
    if (!effect) {
        return E_INVALIDARG;
    }
    m_draggedText = TextOf(data);
    *effect = DropEffect(keys, *effect);
    LONG position = PositionAtScreenPoint(point);
    std::wstring text = m_draggedText.value_or(L"");
    DragLeave();
    if (*effect != DROPEFFECT_NONE) {
        InsertDropped(position, text);
    }
    return S_OK;
}

// Ctrl copies; otherwise the text moves when the source allows it. A text that does not fit
// whole is only copied, so that a moving source does not lose what was cut off here.
DWORD TextServices::DropEffect(DWORD keys, DWORD allowed) const {
    if (!m_draggedText || IsReadOnly() || m_composition.active) {
        return DROPEFFECT_NONE;
    }
    auto length = static_cast<LONG>(Acceptable(*m_draggedText).size());
    LONG room = static_cast<LONG>(m_maxLength) - Length();
    if (length == 0 || room <= 0) {
        return DROPEFFECT_NONE;
    }
    bool mayMove = length <= room && !(keys & MK_CONTROL);
    if (mayMove && (allowed & DROPEFFECT_MOVE)) {
        return DROPEFFECT_MOVE;
    }
    return allowed & DROPEFFECT_COPY;
}

LONG TextServices::PositionAtScreenPoint(POINTL point) {
    POINT client{point.x, point.y};
    m_host->TxScreenToClient(&client);
    return PositionAt(client);
}

void TextServices::EndDropCaret() {
    if (!m_dropCaret) {
        return;
    }
    m_dropCaret.reset();
    Repaint();
    UpdateCaret();
}

void TextServices::InsertDropped(LONG position, const std::wstring& text) {
    if (!m_focused) {
        m_host->TxSetFocus();
    }
    m_history.Seal();
    LONG before = Length();
    ReplaceRange(position, position, text, EditKind::Other);
    m_history.Seal();
    Select(position, position + Length() - before);
}

}  // namespace plat::textsvc
