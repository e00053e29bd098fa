// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The files a run refuses before it reads or writes anything, and what the
// warning says of each. The log must be an ordinary file: a folder is named
// as such, and a named pipe, a device or a socket could be read without end
// or keep the run waiting for ever. The condensed log's name must be an
// ordinary file or nothing yet, and never the log itself: it is never
// written through a link, never replaces a folder or a special file, and
// never replaces the decoder's log under another of its names.
namespace FileRefusals {

inline constexpr const char *logIsFolder = "This is a folder, not a file.";
inline constexpr const char *logIsNotOrdinary =
    "This is not an ordinary file but a named pipe, a device or a socket, so it is not read.";

inline constexpr const char *outputLeadsToLog =
    "This name leads to the log file itself; writing the condensed log there would replace the log.";
inline constexpr const char *outputIsLink =
    "This name is a link, and the condensed log is never written through a link.";
inline constexpr const char *outputIsFolder =
    "This name is a folder, and the condensed log does not replace a folder.";
inline constexpr const char *outputIsNotOrdinary =
    "This name is not an ordinary file but a named pipe, a device or a socket, and the condensed log "
    "does not replace it.";

// Not a refusal but the end of trying: every new name the save tried in the
// folder was taken.
inline constexpr const char *noNewFile = "No new file could be made in this folder.";

} // namespace FileRefusals
