// Module resources: blobs that the build links into the executable, found by type and id. The
// build registers each one at program start (cmake/VaelResources.cmake); lookups follow the
// Windows calls, with the resource read in place. The executable's icon, which the desktop shows
// for its windows with a task-bar entry, is the resource (ICON, 1): a picture in a format
// gdk-pixbuf reads, such as SVG.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plat/global_memory.h"
#include "plat/types.h"

namespace plat {

using HMODULE = HINSTANCE;
using HRSRC = struct HRSRC__*;

// Registers a resource of the executable; called by the code the build generates. A later
// registration of the same type and id replaces the earlier one.
void RegisterModuleResource(const wchar_t* type, unsigned id, const void* data, std::size_t size);

// `module` must be null (the executable); `name` an id from MAKEINTRESOURCEW; types compare
// without regard to case. Null when there is no such resource.
HRSRC FindResourceW(HMODULE module, const wchar_t* name, const wchar_t* type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
const void* LockResource(HGLOBAL loaded);
DWORD SizeofResource(HMODULE module, HRSRC resource);

}  // namespace plat
