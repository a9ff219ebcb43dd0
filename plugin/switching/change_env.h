// One switch of a project text: the GOST or stock values built from disk and the registry,
// and AutoCAD's support and template paths moved to match.
#pragma once

#include <string>

// The result of one switch of a text: the rewritten text, or why there is none.
struct EnvChange {
  bool rewritten;
  std::wstring text;  // the rewritten text, or the failure's message
};

// tip 1: GOST library; any other value: stock ACADE library. The failure messages are
// "Error. Installation folder not found." and the documents lookup's failure text.
EnvChange switch_text(std::wstring str, int tip);

// The same, as one text: the rewritten text or the failure message.
std::wstring change_env(std::wstring str, int tip);
