// One switch of a project text: the GOST or stock values built from disk and the registry,
// and AutoCAD's support and template paths moved to match.
#pragma once

#include <string>

// tip 1: GOST library; any other value: stock ACADE library. Returns the rewritten text, or
// "Error. Installation folder not found." / the documents lookup's failure text.
std::wstring change_env(std::wstring str, int tip);
