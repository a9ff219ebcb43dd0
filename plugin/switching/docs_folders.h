// Where Windows and AutoCAD keep their documents, as the registry records them.
#pragma once

#include <string>

// One value of the machine's Windows "Shell Folders" key ("Common Documents"): the path as
// stored, "Error. Couldn't access system information!" when it cannot be read, or the empty
// text when the key does not open.
std::wstring getAllDocsPath(std::wstring kliuc);

// One value of AutoCAD's per-user product key of the running release ("RoamingUserMyDocsAcadeFolder",
// "RoamableRootFolder"): the path as stored (ending in a separator), or
// "Error. Couldn't access system information!". The Russian build's key, read second,
// decides whenever it opens.
std::wstring getMyDocsPath(std::wstring kliuc);
