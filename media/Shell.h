// Handing documents and addresses to the desktop, which opens them with the program the user has
// chosen for them.
#pragma once

#include <string>

namespace tonvella {

// Asks the desktop's opener (xdg-open on Linux) to open the address. False, with the reason in
// ShellError, when the opener could not be started; what the opener then does is not seen here.
bool OpenUrlWithDesktop(const std::u16string& url);
const std::string& ShellError();

} // namespace tonvella
