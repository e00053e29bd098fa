// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The run button as the condensing run sees it: a caption it can rewrite.
class RunButton
{
public:
    virtual ~RunButton() = default;

    // Replaces the caption; the window shows it while the run goes on.
    virtual void setCaption(const std::string &caption) = 0;
};
