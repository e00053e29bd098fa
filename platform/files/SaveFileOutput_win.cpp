// SPDX-License-Identifier: GPL-3.0-or-later
// The save on Windows.
#include "SaveFileOutput.h"

#include "FileRefusals.h"
#include "NativeFiles_win.h"
#include "SaveTemporaryName.h"
#include "SystemFileIdentity_win.h"

#include <algorithm>

#include <windows.h>

namespace {

constexpr std::size_t largestWrite = std::size_t{1} << 30;
constexpr int namesToTry = 100;

std::wstring wide(const std::string &utf8)
{
    return NativeFiles::widePath(utf8);
}

// A name made of ASCII letters, digits and punctuation, as Windows takes it.
std::wstring ascii(const std::string &name)
{
    return std::wstring(name.begin(), name.end());
}

} // namespace

SaveFileOutput::SaveFileOutput(const std::string &path)
    : m_path(path)
    , m_file(INVALID_HANDLE_VALUE)
{
    const std::size_t separator = path.find_last_of("\\/");
    const std::string folder = separator == std::string::npos ? "." : path.substr(0, separator + 1);
    m_name = separator == std::string::npos ? path : path.substr(separator + 1);
    m_folderPath = wide(folder);
    if (m_folderPath.empty() || m_folderPath.back() != L'\\')
        m_folderPath.push_back(L'\\');
    // Windows' file systems hold names of up to 255 UTF-16 units; a longer
    // one could otherwise be found out only by the move into place.
    if (wide(m_name).size() > 255)
        fail(NativeFiles::windowsReason(ERROR_FILENAME_EXCED_RANGE));
    inspectEarlier();
    removeLeftovers();
    create();
}

SaveFileOutput::~SaveFileOutput()
{
    discard();
}

// The name itself, never what a link or junction there points to.
void SaveFileOutput::inspectEarlier()
{
    const HANDLE earlier = CreateFileW(wide(m_path).c_str(), FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                       nullptr);
    if (earlier == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND)
            return;
        fail(NativeFiles::lastWindowsReason());
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(earlier, &information) != 0;
    const DWORD error = GetLastError();
    const DWORD type = GetFileType(earlier);
    CloseHandle(earlier);
    if (!known)
        fail(NativeFiles::windowsReason(error));
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        fail(FileRefusals::outputIsLink);
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        fail(FileRefusals::outputIsFolder);
    if (type != FILE_TYPE_DISK)
        fail(FileRefusals::outputIsNotOrdinary);
    m_earlier = Earlier{identityOf(information), information.dwFileAttributes, 0, 0};
}

// A save holds its file open without letting it be deleted until it is
// closed to be put in place, so a leftover that can be deleted belongs to no
// run.
void SaveFileOutput::removeLeftovers()
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((m_folderPath + ascii(SaveTemporaryName::pattern())).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        const bool plain = (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
        const bool ascii = std::all_of(name.begin(), name.end(), [](wchar_t c) { return c < 0x80; });
        if (plain && ascii && SaveTemporaryName::isOne(std::string(name.begin(), name.end())))
            DeleteFileW((m_folderPath + name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void SaveFileOutput::create()
{
    for (int i = 0; m_file == INVALID_HANDLE_VALUE && i < namesToTry; ++i) {
        const std::string name = SaveTemporaryName::make();
        const std::wstring path = m_folderPath + ascii(name);
        m_file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_file != INVALID_HANDLE_VALUE)
            m_temporaryName = name;
        else if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            fail(NativeFiles::lastWindowsReason());
    }
    if (m_file == INVALID_HANDLE_VALUE)
        fail(FileRefusals::noNewFile);
}

void SaveFileOutput::write(const char *data, std::size_t size)
{
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(m_file, data, static_cast<DWORD>(std::min(size, largestWrite)), &written, nullptr))
            fail(NativeFiles::lastWindowsReason());
        if (written == 0)
            fail(NativeFiles::windowsReason(ERROR_DISK_FULL));
        data += written;
        size -= written;
    }
}

void SaveFileOutput::commit()
{
    if (!FlushFileBuffers(m_file))
        fail(NativeFiles::lastWindowsReason());
    const HANDLE file = m_file;
    m_file = INVALID_HANDLE_VALUE;
    if (!CloseHandle(file))
        fail(NativeFiles::lastWindowsReason());
    putInPlace();
}

// A read-only earlier file cannot be replaced as it is: it loses the
// attribute for the moment of the move (and gets it back should the move
// fail), and the new file takes it on.
void SaveFileOutput::putInPlace()
{
    const std::wstring from = m_folderPath + std::wstring(m_temporaryName.begin(), m_temporaryName.end());
    const std::wstring to = wide(m_path);
    const DWORD kept = m_earlier ? m_earlier->mode & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN) : 0;
    const bool readOnly = (kept & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !SetFileAttributesW(to.c_str(), m_earlier->mode & ~DWORD{FILE_ATTRIBUTE_READONLY}))
        fail(NativeFiles::lastWindowsReason());
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        if (readOnly)
            SetFileAttributesW(to.c_str(), m_earlier->mode);
        fail(NativeFiles::windowsReason(error));
    }
    m_temporaryName.clear();
    if (kept != 0)
        SetFileAttributesW(to.c_str(), kept);
}

void SaveFileOutput::discard()
{
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    if (!m_temporaryName.empty())
        DeleteFileW((m_folderPath + std::wstring(m_temporaryName.begin(), m_temporaryName.end())).c_str());
    m_temporaryName.clear();
}
