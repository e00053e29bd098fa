// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include <windows.h>

namespace Application {

void prepareProcess()
{
    // Libraries loaded from now on (Qt's plugins and what they load) come
    // from the program's own folder and the system's, never from the folder
    // the program was started in.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
}

} // namespace Application
