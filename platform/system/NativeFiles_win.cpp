// SPDX-License-Identifier: GPL-3.0-or-later
#include "NativeFiles_win.h"

#include <windows.h>

namespace NativeFiles {

namespace {

std::string utf8(const wchar_t *text, int length)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

} // namespace

std::string windowsReason(unsigned long errorCode)
{
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, errorCode, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::string text = length > 0 ? utf8(buffer, static_cast<int>(length)) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "Windows error " + std::to_string(errorCode) + ".";
    return text;
}

std::string lastWindowsReason()
{
    return windowsReason(GetLastError());
}

std::wstring widePath(const std::string &utf8Path)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8Path.data(), static_cast<int>(utf8Path.size()),
                                         nullptr, 0);
    std::wstring path(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8Path.data(), static_cast<int>(utf8Path.size()),
                            path.data(), size);
    for (wchar_t &c : path) {
        if (c == L'/')
            c = L'\\';
    }
    // The "\\?\" form takes the path as it is: only a plain absolute path,
    // without "." or ".." steps, may be given it.
    const bool drive = path.size() > 2 && path[1] == L':' && path[2] == L'\\';
    const bool share = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?'
        && path[2] != L'.';
    if (path.size() < MAX_PATH - 12 || !(drive || share) || path.find(L"\\.\\") != std::wstring::npos
        || path.find(L"\\..\\") != std::wstring::npos)
        return path;
    std::wstring single;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 1 && path[i] == L'\\' && single.back() == L'\\')
            continue;
        single.push_back(path[i]);
    }
    return drive ? L"\\\\?\\" + single : L"\\\\?\\UNC\\" + single.substr(2);
}

} // namespace NativeFiles
