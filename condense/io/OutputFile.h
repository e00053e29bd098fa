// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSink.h"

class ByteSource;

// A condensed log being written. Nothing appears under the file's name until
// commit() succeeds; destroying an uncommitted file discards what was written,
// so a failed run leaves any earlier file of that name as it was.
class OutputFile : public ByteSink
{
public:
    // Throws FileError when the earlier file that this one is to replace is
    // `log` itself under another name. Called once both are open, before the
    // log is read.
    virtual void refuseIfReplacing(const ByteSource &log) { (void)log; }

    // Puts the complete file in place under its name. Throws FileError.
    virtual void commit() = 0;
};
