#include "textsvc/edit_history.h"

namespace plat::textsvc {

bool EditHistory::Continues(const Replacement& replacement, EditKind kind) const {
    if (!m_open || m_undo.empty() || m_undo.back().kind != kind || kind == EditKind::Other) {
        return false;
    }
    const Replacement& last = m_undo.back().replacements.back();
    if (kind == EditKind::Typing) {
        return replacement.removed.empty() &&
               replacement.position == last.position + static_cast<LONG>(last.inserted.size());
    }
    // Backspace removes just before the last removal, Delete at the same place.
    return replacement.inserted.empty() &&
           (replacement.position + static_cast<LONG>(replacement.removed.size()) == last.position ||
            replacement.position == last.position);
}

void EditHistory::Record(const Replacement& replacement, EditKind kind, LONG anchorBefore,
                         LONG caretBefore) {
    m_redo.clear();
    if (Continues(replacement, kind)) {
        m_undo.back().replacements.push_back(replacement);
        return;
    }
    m_undo.push_back({{replacement}, kind, anchorBefore, caretBefore});
    if (m_undo.size() > m_limit) {
        m_undo.erase(m_undo.begin());
    }
    m_open = true;
}

void EditHistory::Clear() {
    m_undo.clear();
    m_redo.clear();
    m_open = false;
}

void EditHistory::SetLimit(std::size_t limit) {
    m_limit = limit;
    while (m_undo.size() > m_limit) {
        m_undo.erase(m_undo.begin());
    }
}

std::optional<EditGroup> EditHistory::TakeUndo() {
    m_open = false;
    if (m_undo.empty()) {
        return std::nullopt;
    }
    EditGroup group = std::move(m_undo.back());
    m_undo.pop_back();
    m_redo.push_back(group);
    return group;
}

std::optional<EditGroup> EditHistory::TakeRedo() {
    m_open = false;
    if (m_redo.empty()) {
        return std::nullopt;
    }
    EditGroup group = std::move(m_redo.back());
    m_redo.pop_back();
    m_undo.push_back(group);
    return group;
}

}  // namespace plat::textsvc
