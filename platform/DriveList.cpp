// SPDX-License-Identifier: GPL-3.0-or-later
#include "DriveList.h"

#include "FocusMark.h"
#include "NativePaths.h"

#include <QAbstractItemView>
#include <QDir>
#include <QPainter>
#include <QStandardPaths>
#include <QStorageInfo>

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

QString dataLocation()
{
    return NativePaths::display(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
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
    connect(&m_dataReader, &FolderReader::listed, this, &DriveList::dataFoldersListed);
    refresh();
    m_dataReader.read({dataLocation()});
}

QString DriveList::drive() const
{
    return currentData().toString();
}

void DriveList::setDriveOf(const QString &path)
{
    const QString native = NativePaths::display(path);
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
    for (const auto &[name, folder] : std::as_const(m_dataFolders))
        addItem(NativePaths::shown(name), folder);
    const int again = findData(chosen);
    if (again >= 0)
        setCurrentIndex(again);
}

void DriveList::showPopup()
{
    refresh();
    m_dataReader.read({dataLocation()});
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

QList<QPair<QString, QString>> DriveList::decoderFolders(const QString &dataLocation, const QStringList &folders)
{
    QList<QPair<QString, QString>> found;
    if (dataLocation.isEmpty())
        return found;
    const QStringList patterns = {"WSJT-X", "JTDX", "WSJT-X - *", "JTDX - *"};
    for (const QString &name : folders) {
        if (QDir::match(patterns, name))
            found.append({name + QStringLiteral(" log folder"),
                          NativePaths::display(dataLocation + QLatin1Char('/') + name)});
    }
    return found;
}

void DriveList::dataFoldersListed(const FolderListing &listing)
{
    const auto found = decoderFolders(listing.folder, listing.listed ? listing.folders : QStringList());
    if (found == m_dataFolders)
        return;
    m_dataFolders = found;
    refresh();
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
    emit changed();
}
