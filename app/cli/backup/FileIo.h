#pragma once
// Backup files on disk: read whole (with a bound, so a wrong file cannot exhaust memory), and
// written by replacing the file at once, so a failed run never leaves half a backup in place of
// a good one.

#include <string>

namespace backup {

// False, with the reason in `error`, when the file cannot be read or is over 64 MiB.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);
// Writes a new file beside `path` (readable by its owner only: it holds personal data) and
// renames it over `path`. False, with the reason, when any step fails; `path` is then as it was.
bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& error);
// Whether a file can be created where `path` points; checked before any time is spent reading
// the phone. False with the reason.
bool CanReplace(const std::string& path, std::string& error);

}  // namespace backup
