// One switch of a project text: the GOST or stock values built from disk and the registry,
// and AutoCAD's support and template paths moved to match.
#pragma once

#include <string>

#include "switching/project_text.h"

// The four settings' values for `tip` (1: GOST library; any other value: stock ACADE library),
// with AutoCAD's paths moved to that library. False with the message when the add-on's
// folders or the system's information are missing: "Error. Installation folder not found."
// or the documents lookup's failure text.
bool library_values(int tip, kvs::RecordValues& values, std::wstring& message);

// The rewritten text, or the failure message.
std::wstring change_env(std::wstring str, int tip);
