// The walk over an install archive's records in file order, as Poco::Zip::ZipArchive walks it,
// without its faults: ZipArchive keeps the entries in maps keyed by name and stops on an
// assertion when a name occurs twice, POCO's header parse reads the values of a ZIP64 extra
// field without looking where the field ends, and it allocates whatever size a ZIP64 end record
// claims. Here every local header is checked before POCO parses it, the central directory is
// only counted, and the walk ends at the first end record, unparsed.
#pragma once

#include <Poco/Zip/ParseCallback.h>

#include <istream>

namespace LauncherLib {

// Hands every local entry, in file order, to `entries` and answers the number of headers of
// the central directory. Throws Poco::Zip::ZipException at a local header that POCO could not
// parse safely, and at unknown records it cannot step over.
int WalkArchive(std::istream& archive, Poco::Zip::ParseCallback& entries);

}  // namespace LauncherLib
