// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>

// Thrown out of a condensing run that the user stopped.
class RunCancelled : public std::exception
{
public:
    const char *what() const noexcept override { return "the run was cancelled"; }
};
