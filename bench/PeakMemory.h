#pragma once

// The most memory this process has held at once, in MiB.
double peakMemoryMiB();
