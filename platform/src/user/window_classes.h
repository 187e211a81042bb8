// The registered window classes.
#pragma once

#include <memory>

#include "user/window_records.h"

namespace plat::user {

// The class named by `name` (a name or MAKEINTATOM); null when none. Needs the lock.
std::shared_ptr<WindowClass> FindWindowClass(const wchar_t* name);

}  // namespace plat::user
