#include "user/window_records.h"

#include <algorithm>

namespace plat::user {
namespace {

struct WindowTable {
    std::map<std::uintptr_t, std::unique_ptr<WindowRecord>> windows;
    std::vector<HWND> topLevelOrder;
    std::uintptr_t nextHandle = 0x10010;
};

// Never destroyed, so that threads still running at exit find it intact.
WindowTable& Table() {
    static WindowTable* table = new WindowTable;
    return *table;
}

std::uintptr_t Key(HWND window) {
    return reinterpret_cast<std::uintptr_t>(window);
}

std::vector<HWND>& SiblingsOf(WindowRecord& record) {
    if (record.IsChild()) {
        return FindWindowRecord(record.parent)->children;
    }
    return TopLevelOrder();
}

bool IsTopmost(HWND window) {
    WindowRecord* record = FindWindowRecord(window);
    return record && (record->exStyle & WS_EX_TOPMOST);
}

void Erase(std::vector<HWND>& list, HWND window) {
    list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

}  // namespace

std::mutex& WindowSystemLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

WindowRecord* FindWindowRecord(HWND window) {
    auto found = Table().windows.find(Key(window));
    return found == Table().windows.end() ? nullptr : found->second.get();
}

WindowRecord& AddWindowRecord(std::unique_ptr<WindowRecord> record) {
    WindowRecord& added = *record;
    std::uintptr_t key = Key(record->handle);
    Table().windows[key] = std::move(record);
    if (added.IsChild()) {
        FindWindowRecord(added.parent)
            ->children.insert(FindWindowRecord(added.parent)->children.begin(), added.handle);
    } else if (!added.messageOnly) {
        TopLevelOrder().push_back(added.handle);
        BringToFront(added);
    }
    return added;
}

void RemoveWindowRecord(HWND window) {
    WindowRecord* record = FindWindowRecord(window);
    if (!record) {
        return;
    }
    if (record->IsChild()) {
        if (WindowRecord* parent = FindWindowRecord(record->parent)) {
            Erase(parent->children, window);
        }
    } else {
        Erase(TopLevelOrder(), window);
    }
    Table().windows.erase(Key(window));
}

HWND NewWindowHandle() {
    std::uintptr_t handle = Table().nextHandle;
    Table().nextHandle += 2;
    return reinterpret_cast<HWND>(handle);
}

std::vector<HWND>& TopLevelOrder() {
    return Table().topLevelOrder;
}

std::vector<WindowRecord*> AllWindows() {
    std::vector<WindowRecord*> all;
    for (auto& [key, record] : Table().windows) {
        all.push_back(record.get());
    }
    return all;
}

HWND TopLevelOf(HWND window) {
    WindowRecord* record = FindWindowRecord(window);
    while (record && record->IsChild()) {
        record = FindWindowRecord(record->parent);
    }
    return record ? record->handle : nullptr;
}

bool IsShowing(const WindowRecord& record) {
    for (const WindowRecord* current = &record; current;
         current = current->IsChild() ? FindWindowRecord(current->parent) : nullptr) {
        if (!(current->style & WS_VISIBLE)) {
            return false;
        }
    }
    return true;
}

POINT ScreenOrigin(const WindowRecord& record) {
    POINT origin{record.rect.left, record.rect.top};
    if (record.IsChild()) {
        POINT parentOrigin = ScreenOrigin(*FindWindowRecord(record.parent));
        origin.x += parentOrigin.x;
        origin.y += parentOrigin.y;
    }
    return origin;
}

SurfaceShow SurfaceShowOf(const WindowRecord& record) {
    if (!(record.style & WS_VISIBLE)) {
        return SurfaceShow::Hidden;
    }
    if (record.style & WS_MINIMIZE) {
        return SurfaceShow::Minimized;
    }
    return (record.style & WS_MAXIMIZE) ? SurfaceShow::Maximized : SurfaceShow::Normal;
}

void BringToFront(WindowRecord& record) {
    std::vector<HWND>& siblings = SiblingsOf(record);
    Erase(siblings, record.handle);
    bool topmost = record.exStyle & WS_EX_TOPMOST;
    auto position = siblings.begin();
    if (!topmost) {
        position = std::find_if(siblings.begin(), siblings.end(),
                                [](HWND sibling) { return !IsTopmost(sibling); });
    }
    siblings.insert(position, record.handle);
}

void PlaceInZOrder(WindowRecord& record, HWND insertAfter) {
    if (insertAfter == HWND_TOPMOST) {
        record.exStyle |= WS_EX_TOPMOST;
    } else if (insertAfter == HWND_NOTOPMOST) {
        record.exStyle &= ~WS_EX_TOPMOST;
    }
    std::vector<HWND>& siblings = SiblingsOf(record);
    if (insertAfter == HWND_BOTTOM) {
        Erase(siblings, record.handle);
        siblings.push_back(record.handle);
        return;
    }
    auto after = std::find(siblings.begin(), siblings.end(), insertAfter);
    if (after == siblings.end() || insertAfter == record.handle) {
        BringToFront(record);
        return;
    }
    Erase(siblings, record.handle);
    after = std::find(siblings.begin(), siblings.end(), insertAfter);
    siblings.insert(after + 1, record.handle);
}

}  // namespace plat::user
