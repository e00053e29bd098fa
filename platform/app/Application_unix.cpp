// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

namespace Application {

void prepareProcess()
{
    // Nothing: programs carry no runpath, so the loader never searches the
    // folder the program is started in.
}

} // namespace Application
