// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FolderLister.h"

#include <QObject>
#include <QTimer>

#include <memory>

// Reads a folder on a thread of its own, so the window never waits for a
// disk, and tells within about a second when the disk has not answered.
// Only the latest request counts: the answer to one that was followed by
// another is dropped, however late it comes.
class FolderReader : public QObject
{
    Q_OBJECT

public:
    static constexpr int deadlineMilliseconds = 1000;

    explicit FolderReader(QObject *parent = nullptr);
    ~FolderReader() override;

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

    std::shared_ptr<Mailbox> m_mailbox;
    quint64 m_request = 0;
    bool m_reading = false;
    QString m_asked;
    QTimer m_deadline;
};
