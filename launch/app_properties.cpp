#include "app_properties.h"

appProperties::appProperties(CurrentDirectoryQuery currentDirectory) {
    char buffer[MAX_PATH];
    DWORD length = currentDirectory(MAX_PATH, buffer);
    // A directory that cannot be read, or does not fit, leaves the path empty: file
    // names then resolve against the working directory, which is where we started.
    if (length > 0 && length < MAX_PATH)
        path.assign(buffer, length);
    // The test is on the length alone: a drive root such as C:\ already ends in "\".
    if (path.size() > 3)
        path += "\\";
}
