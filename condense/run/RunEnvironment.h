// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

class ByteSource;
class OutputFile;
class RunProgress;

// The files and message boxes the condensing run uses. Texts are UTF-8.
// Paths are the system's own: on Linux and other Unix systems the bytes of
// the names, which need not be valid text (a message shows such a byte as
// the replacement character); on Windows UTF-8.
class RunEnvironment
{
public:
    virtual ~RunEnvironment() = default;

    // Both throw FileError naming the path and the system's reason. Both are
    // called from the thread that runs the work given to runAside(), the
    // output first, so that a name or folder that cannot take it fails before
    // the log is read. On POSIX systems paths are the system's own bytes.
    virtual std::unique_ptr<ByteSource> openInput(const std::string &path) = 0;
    virtual std::unique_ptr<OutputFile> createOutput(const std::string &path) = 0;

    // Runs `work` away from the window's thread and returns when it is done.
    // Meanwhile the window keeps painting and takes no input; when the work
    // takes longer than about a second, a progress window shows
    // progress.share() and offers Cancel, which calls progress.cancel().
    // `work` must not throw.
    virtual void runAside(const std::function<void()> &work, RunProgress &progress) = 0;

    // Modal boxes with one OK button; each returns when it is dismissed.
    virtual void showInformation(const std::string &text) = 0;
    virtual void showWarning(const std::string &text) = 0;
};
