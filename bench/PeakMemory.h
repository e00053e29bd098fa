// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The most memory this process has held at once, in MiB.
double peakMemoryMiB();
