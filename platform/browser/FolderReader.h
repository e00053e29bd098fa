// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FolderLister.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <memory>

// Reads a folder on a thread of its own, so the window never waits for a
// disk, and tells when the disk has not answered: when the reading has
// brought nothing for about a second. A large folder that is still coming in
// is slow, not gone, and is not reported.
// Only the latest request counts: the answer to one that was followed by
// another is dropped, however late it comes.
class FolderReader : public QObject
{
    Q_OBJECT

public:
    static constexpr int deadlineMilliseconds = 1000;

    explicit FolderReader(QObject *parent = nullptr);
    ~FolderReader() override;

    // The lister used from the next reading on; at first the system's.
    void setLister(std::shared_ptr<const FolderLister> lister) { m_lister = std::move(lister); }

    // Reads the first of `candidates` that can be read (each is tried in
    // turn, on the reading's thread); the listing names the last one tried
    // where none could be read.
    void read(const QStringList &candidates);

    // Whether the latest request has not been answered yet.
    bool reading() const { return m_reading; }

signals:
    // The answer to the latest request, whenever it comes.
    void listed(const FolderListing &listing);
    // The latest request has not been answered within the deadline.
    void notAnswering(const QString &folder);

private:
    struct Mailbox;

    void arrived(quint64 request, const FolderListing &listing);
    void overdue();

    std::shared_ptr<const FolderLister> m_lister = std::make_shared<FolderLister>();
    std::shared_ptr<Mailbox> m_mailbox;
    std::shared_ptr<std::atomic<quint64>> m_progress;  // of the latest request's reading
    quint64 m_progressSeen = 0;
    quint64 m_request = 0;
    bool m_reading = false;
    QString m_asked;
    QTimer m_deadline;
};
