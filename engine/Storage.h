// Files a program writes to keep (a best score, settings) outlast it on
// disk. In the browser the program's files live only as long as the page:
// keepFile hands a file just written to the browser's storage, and the page
// puts it back before the program starts next time.
#ifndef VX_STORAGE_H
#define VX_STORAGE_H

#include <string>

namespace vx {

// Makes the file at the path, just written, outlast the program. 0, or -1
// when it cannot (the browser's storage refused it).
int keepFile(const std::string &path);

} // namespace vx

#endif // VX_STORAGE_H
