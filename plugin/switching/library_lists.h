// The libraries a switch points a project at, as they are installed on this machine.
#pragma once

#include <string>

#include "switching/project_text.h"

// The four settings' values for `tip` (1: the GOST library; any other value: the stock ACADE
// library) of the ACADE release `version` (its year, "2015"): the add-on's library folders as
// they are on disk and the stock libraries under the public documents folder. False with the
// message when they cannot be listed: "Error. Installation folder not found." or the documents
// lookup's failure text.
bool library_lists(int tip, const std::wstring& version, kvs::RecordValues& values, std::wstring& message);
