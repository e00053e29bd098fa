// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSource.h"
#include "DesktopRunEnvironment.h"
#include "RunProgress.h"

#include <QApplication>
#include <QProgressDialog>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

// What the tests of a run on the desktop share: a decoder log of about a
// megabyte, and a run whose reading can be held back.

inline std::string decoderLog()
{
    std::string log = "\r\nUTC Date: 2008 Mar 05\r\n---------------------\r\n";
    for (int minute = 0; minute < 20000; ++minute) {
        log += minute % 10 == 0 ? "000100  Transmitting:  JT65A   CQ K1ABC FN42\r\n"
                                : "000200   1  -21  0.3   -3  2 * W1AW/P W9XYZ EN37\r\n";
    }
    return log;
}

// Holds a reader back until it is opened.
class Gate
{
public:
    void open()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_opened.notify_all();
    }

    void pass()
    {
        std::unique_lock lock(m_mutex);
        m_opened.wait(lock, [this] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = false;
};

// The desktop's files, the log read no further than `holdAt` bytes until
// the gate opens. Records how far the run's progress got.
class SlowEnvironment : public DesktopRunEnvironment
{
public:
    SlowEnvironment(Gate *gate, std::size_t holdAt) : m_gate(gate), m_holdAt(holdAt) {}

    std::unique_ptr<ByteSource> openInput(const std::string &path) override
    {
        struct Slow : ByteSource {
            std::unique_ptr<ByteSource> real;
            Gate *gate = nullptr;
            std::size_t holdAt = 0;
            std::size_t readAt(std::uint64_t offset, char *buffer, std::size_t capacity) override
            {
                if (gate != nullptr && offset >= holdAt)
                    gate->pass();
                return real->readAt(offset, buffer, capacity);
            }
            std::optional<FileIdentity> identity() const override { return real->identity(); }
            std::optional<State> state() const override { return real->state(); }
        };
        auto slow = std::make_unique<Slow>();
        slow->real = DesktopRunEnvironment::openInput(path);
        slow->gate = m_gate;
        slow->holdAt = m_holdAt;
        return slow;
    }

    void runAside(const std::function<void()> &work, RunProgress &progress) override
    {
        DesktopRunEnvironment::runAside(work, progress);
        doneAtEnd = progress.done();
        totalAtEnd = progress.total();
    }

    std::uint64_t doneAtEnd = 0;
    std::uint64_t totalAtEnd = 0;

private:
    Gate *m_gate;
    std::size_t m_holdAt;
};

inline QProgressDialog *visibleProgressWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QProgressDialog *>(widget);
        if (dialog != nullptr && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}
