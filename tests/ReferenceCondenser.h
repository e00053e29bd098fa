// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The condensing rules written out plainly, one line and one position at a
// time, as a yardstick for the fast condenser.
std::string referenceCondense(const std::string &log, const std::string &call);
