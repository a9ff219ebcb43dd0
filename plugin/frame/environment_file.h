// Creation of the add-on's ACADE environment file, AeData\kvdata.env, from ACADE's AeData\wd.env.
#pragma once

#include <string>

// `docsFolder` is ACADE's per-user documents folder, ending with a separator. An existing
// kvdata.env is left as it is; without a readable wd.env nothing is created. The file appears
// whole or not at all.
void createAddonEnvironment(const std::wstring& docsFolder);
