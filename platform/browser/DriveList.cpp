// SPDX-License-Identifier: GPL-3.0-or-later
#include "DriveList.h"

#include "DecoderFolders.h"
#include "FocusMark.h"
#include "NativePaths.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QStorageInfo>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <mntent.h>
#include <stdio.h>
#endif

namespace {

#ifdef Q_OS_LINUX
// The mounted volumes' top folders, as the mount table lists them.
QList<QPair<QString, QByteArray>> mountTable()
{
    QList<QPair<QString, QByteArray>> mounts;
    FILE *table = ::setmntent("/proc/self/mounts", "r");
    if (table == nullptr)
        return mounts;
    mntent entry {};
    char buffer[4096];
    while (::getmntent_r(table, &entry, buffer, sizeof buffer) != nullptr)
        mounts.append({NativePaths::fromNative(entry.mnt_dir), QByteArray(entry.mnt_type)});
    ::endmntent(table);
    return mounts;
}
#endif

// Volumes by their top folder, in native form, the root first.
QStringList driveRoots()
{
    QStringList roots;
#ifdef Q_OS_WIN
    // The drive letters in use, from the system's record of them: no drive
    // is asked anything.
    for (const QFileInfo &drive : QDir::drives())
        roots.append(NativePaths::display(drive.absoluteFilePath()));
#elif defined(Q_OS_LINUX)
    roots.append(QDir::rootPath());
    const QList<QPair<QString, QByteArray>> mounts = mountTable();
    // The home folder's volume: the deepest mount above it.
    const QString homeFolder = NativePaths::display(QDir::homePath());
    QString home;
    for (const auto &[root, type] : mounts) {
        if (NativePaths::isUnder(homeFolder, root) && root.size() > home.size())
            home = root;
    }
    if (!home.isEmpty() && !roots.contains(home))
        roots.append(home);
    for (const auto &[root, type] : mounts) {
        if (DriveList::offered(root, type) && !roots.contains(root))
            roots.append(root);
    }
#else
    roots.append(QDir::rootPath());
    const QString home = QStorageInfo(QDir::homePath()).rootPath();
    if (!home.isEmpty() && !roots.contains(home))
        roots.append(home);
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isValid() && DriveList::offered(root, volume.fileSystemType()) && !roots.contains(root))
            roots.append(root);
    }
#endif
    return roots;
}

bool under(const QString &path, const char *top)
{
    const QLatin1String folder(top);
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent)
{
    view()->setTextElideMode(Qt::ElideNone);
    connect(this, &QComboBox::activated, this, &DriveList::picked);
    for (const DecoderFolders::Location &location : DecoderFolders::locations()) {
        m_locations.push_back({location, {}, std::make_unique<FolderReader>()});
        connect(m_locations.back().reader.get(), &FolderReader::listed, this, &DriveList::dataFoldersListed);
    }
    connect(&m_latestLogSearch, &LatestLogSearch::found, this, &DriveList::latestLogFound);
    refresh();
    readDataFolders();
}

void DriveList::readDataFolders()
{
    for (const DataLocation &location : m_locations)
        location.reader->read({location.where.folder});
}

void DriveList::setLister(const std::shared_ptr<const FolderLister> &lister)
{
    for (const DataLocation &location : m_locations)
        location.reader->setLister(lister);
    m_latestLogSearch.setLister(lister);
}

void DriveList::findLatestLog()
{
    QList<DecoderFolders::Location> locations;
    for (const DataLocation &location : m_locations)
        locations.append(location.where);
    m_latestLogSearch.start(locations);
}

QString DriveList::drive() const
{
    return currentData().toString();
}

void DriveList::setDriveOf(const QString &path)
{
    const QString native = NativePaths::display(path);
    m_followed = native;
    int best = -1;
    for (int i = 0; i < count(); ++i) {
        const QString folder = itemData(i).toString();
        if (NativePaths::isUnder(native, folder) && (best < 0 || folder.size() > itemData(best).toString().size()))
            best = i;
    }
    if (best >= 0) {
        setCurrentIndex(best);
        m_shown = drive();
    }
}

void DriveList::refresh()
{
    const QString chosen = drive();
    const QSignalBlocker quiet(this);
    clear();
    for (const QString &root : driveRoots())
        addItem(NativePaths::shown(root), root);
    for (const DataLocation &location : m_locations) {
        for (const auto &[name, folder] : location.found)
            addItem(NativePaths::shown(name), folder);
    }
    const int again = findData(chosen);
    if (again >= 0)
        setCurrentIndex(again);
}

void DriveList::showPopup()
{
    refresh();
    readDataFolders();
    fitPopup();
    QComboBox::showPopup();
}

void DriveList::paintEvent(QPaintEvent *event)
{
    QComboBox::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    FocusMark::draw(painter, rect(), palette().color(QPalette::Button));
}

void DriveList::keyPressEvent(QKeyEvent *event)
{
    const int before = currentIndex();
    const QPersistentModelIndex listed = view()->currentIndex();
    QComboBox::keyPressEvent(event);
    // A typed first letter moves the current entry of the list the entries
    // drop down in, hidden as it is, and that list tells a screen reader its
    // new current entry itself. The arrow keys, Home and End leave it where
    // it was.
    if (currentIndex() != before && currentIndex() >= 0 && view()->currentIndex() == listed && hasFocus()
        && !view()->isVisible())
        tellEntry();
}

void DriveList::tellEntry()
{
    // Only through AT-SPI has the new entry of a closed list been found to
    // go unread; elsewhere a report of focus on top of the list's own could
    // have the entry read twice.
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    if (!QAccessible::isActive())
        return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    // Where the list itself offers its selected entry, the screen reader
    // reads it from there.
    if (QAccessibleInterface *list = QAccessible::queryAccessibleInterface(this);
        list != nullptr && list->selectionInterface() != nullptr)
        return;
#endif
    // Through AT-SPI the list reports its new entry as a new name and a new
    // selection, but offers no selection to read: Orca passes over a drop-down
    // list's change of name and finds no selected entry, so it says nothing.
    // The entry is told as the list of entries tells a typed letter's entry:
    // as its focused entry, which Orca speaks. The keyboard focus stays here.
    QAccessibleEvent entry(view(), QAccessible::Focus);
    entry.setChild(currentIndex());
    QAccessible::updateAccessibility(&entry);
#endif
}

bool DriveList::offered(const QString &root, const QByteArray &fileSystemType)
{
    static const QByteArrayList pseudo = {
        "autofs", "binfmt_misc", "bpf", "cgroup", "cgroup2", "configfs", "debugfs", "devpts", "devtmpfs",
        "efivarfs", "fuse.gvfsd-fuse", "fuse.lxcfs", "fuse.portal", "fuse.snapfuse", "fusectl", "hugetlbfs",
        "mqueue", "nsfs", "overlay", "proc", "pstore", "ramfs", "rpc_pipefs", "securityfs", "squashfs",
        "sysfs", "tmpfs", "tracefs"};
    if (root == QDir::rootPath())
        return true;
    if (pseudo.contains(fileSystemType))
        return false;
    if (under(root, "/run"))
        return under(root, "/run/media");
    for (const char *system : {"/boot", "/efi", "/snap", "/proc", "/sys", "/dev", "/var/lib/docker",
                               "/var/lib/containers", "/var/lib/snapd", "/var/snap", "/System", "/private"}) {
        if (under(root, system))
            return false;
    }
    return true;
}

void DriveList::dataFoldersListed(const FolderListing &listing)
{
    const auto location = std::ranges::find_if(
        m_locations, [&](const DataLocation &each) { return each.where.folder == listing.folder; });
    if (location == m_locations.end())
        return;
    const auto found = DecoderFolders::entries(location->where, listing.listed ? listing.folders : QStringList());
    if (found == location->found)
        return;
    location->found = found;
    refresh();
    // The entry for the folder shown may be among those just found.
    if (!m_followed.isEmpty())
        setDriveOf(m_followed);
    // An open list is opened again, laid out for the entries it has now.
    if (view()->isVisible()) {
        QComboBox::hidePopup();
        fitPopup();
        QComboBox::showPopup();
    }
}

void DriveList::fitPopup()
{
    // Wide enough for the longest entry, also where it is wider than the list.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + view()->frameWidth() * 2
                            + style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void DriveList::picked(int index)
{
    const QString chosen = itemData(index).toString();
    if (chosen == m_shown)
        return;
    m_shown = chosen;
    m_followed = chosen;
    emit changed();
}
