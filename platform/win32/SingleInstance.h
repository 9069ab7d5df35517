// One instance per program on the desktop, claimed through a named mutex.
#pragma once
#include <windows.h>

namespace tarnelix {

// Creates the named mutex, owned by the caller. False when another
// instance holds it: the mutex already existed, or it exists but may not be
// opened (access denied: an instance of another user or of another
// integrity level, an elevated one, made it; it runs all the same). True
// otherwise, with `mutex` the handle to close at the end; it is null when
// the mutex could not be made for another reason (out of resources), and
// the program then runs unguarded rather than not at all.
bool ClaimSingleInstance(const char* name, HANDLE& mutex);

}  // namespace tarnelix
