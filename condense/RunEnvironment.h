// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

class ByteSource;
class OutputFile;

// The files and message boxes the condensing run uses. Paths and texts are UTF-8.
class RunEnvironment
{
public:
    virtual ~RunEnvironment() = default;

    // Both throw FileError naming the path and the system's reason.
    virtual std::unique_ptr<ByteSource> openInput(const std::string &path) = 0;
    virtual std::unique_ptr<OutputFile> createOutput(const std::string &path) = 0;

    // Modal boxes with one OK button; each returns when it is dismissed.
    virtual void showInformation(const std::string &text) = 0;
    virtual void showWarning(const std::string &text) = 0;
};
