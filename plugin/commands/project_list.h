// The registered-projects list (HKCU\SOFTWARE\Korvanta, value "Projects") and its two passes.
#pragma once

#include <string>

std::wstring read_projects();
void write_projects(const std::wstring& list);
// Switches every registered project to the GOST library; run once at start-up.
void init_projects();
// Switches every registered project back to the stock library; run once when the user quits.
void deinit_projects();
