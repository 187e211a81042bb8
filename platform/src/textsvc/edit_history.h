// The undo and redo history of a text: groups of replacements, where a run of typed characters
// or of deletions at one place forms a single group.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plat/types.h"

namespace plat::textsvc {

// Characters [position, position + removed.size()) became `inserted`.
struct Replacement {
    LONG position;
    std::wstring removed;
    std::wstring inserted;
};

enum class EditKind { Typing, Deleting, Other };

struct EditGroup {
    std::vector<Replacement> replacements;
    EditKind kind;
    LONG anchorBefore;  // the selection before the group, restored by undo
    LONG caretBefore;
};

class EditHistory {
public:
    // Adds the replacement to the open group when it continues that group's run, else starts
    // a new group (and forgets what could be redone).
    void Record(const Replacement& replacement, EditKind kind, LONG anchorBefore, LONG caretBefore);
    // The next replacement starts a new group (the caret moved, the text was set, ...).
    void Seal() { m_open = false; }
    void Clear();
    void SetLimit(std::size_t limit);

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    // The group to revert; it moves to the redo list.
    std::optional<EditGroup> TakeUndo();
    // The group to apply again; it moves back to the undo list.
    std::optional<EditGroup> TakeRedo();

private:
    bool Continues(const Replacement& replacement, EditKind kind) const;

    std::vector<EditGroup> m_undo;
    std::vector<EditGroup> m_redo;
    std::size_t m_limit = 100;
    bool m_open = false;
};

}  // namespace plat::textsvc
