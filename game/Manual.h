// The manual: a PDF per language inside the program, copied to the temporary directory so that
// the desktop can open it.
#pragma once

#include <string>

namespace tonvella {

// TEMP, else TMP, else TMPDIR, else "/tmp"; without a trailing "/".
std::u16string TempDirectory();
// The copy's file name: program name + " " + ManualLanguage + ".PDF".
std::u16string ManualCopyName();
// Copies the manual of ManualLanguage and opens the copy. True when it reached the opener; a
// failure writes one diagnostic line.
bool OpenManual();

// Copies a stream URL into a file in blocks of 4096 bytes. The bytes go to a new file made
// exclusively in the destination's directory, which then replaces the destination, so a link
// planted at that name is replaced and never written through. False, with one diagnostic line,
// when anything fails; the destination is then untouched.
bool CopyFileContents(const std::u16string& source_url, const std::u16string& destination);

// "http:", "https:" and "file:" addresses go to the desktop unchanged. Anything else is a local
// path (an anchor from its first "#" kept aside): an existing one goes as a "file://" address,
// a missing one is refused with a diagnostic line rather than sent to the web.
bool OpenWithShell(const std::u16string& url);
// The "file://" address of an absolute path, with the bytes that a URL cannot carry escaped.
std::u16string FileUrl(const std::u16string& absolute_path);

} // namespace tonvella
