#include "user/message_filter.h"

#include "user/window_records.h"

namespace plat::user {
namespace {

bool IsSelfOrDescendant(HWND window, HWND ancestor) {
    for (WindowRecord* record = FindWindowRecord(window); record;
         record = record->IsChild() ? FindWindowRecord(record->parent) : nullptr) {
        if (record->handle == ancestor) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool MessageFilter::Accepts(HWND target, UINT message) const {
    bool inRange = (first == 0 && last == 0) || (message >= first && message <= last);
    return inRange && (!window || IsSelfOrDescendant(target, window));
}

}  // namespace plat::user
