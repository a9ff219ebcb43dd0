// Where Windows and AutoCAD keep their documents, as the registry records them.
#pragma once

#include <string>

// One value of the machine's Windows "Shell Folders" key ("Common Documents"): true and the path
// as stored, or the empty path when the key does not open; false when the value cannot be read.
bool getAllDocsPath(const std::wstring& name, std::wstring& path);

// One value of AutoCAD's per-user product key of the running release ("RoamingUserMyDocsAcadeFolder",
// "RoamableRootFolder"): true and the path as stored (ending in a separator); false when it cannot
// be read or is empty. The Russian build's key, read second, decides whenever it opens.
bool getMyDocsPath(const std::wstring& name, std::wstring& path);
