// AutoLISP at the command line, as far as applications use it here: (command "NAME" "ARG" ...)
// runs a command with those inputs. Also ads_queueexpr, which leaves such text for later.
#include <cwctype>
#include <stdexcept>

#include "acedads.h"
#include "adscodes.h"
#include "host.h"

namespace acadhost {

namespace {

struct LispError : std::runtime_error {
  explicit LispError(const std::wstring& text) : std::runtime_error("lisp"), message(text) {}
  std::wstring message;
};

struct Atom {
  enum Kind { List, String, Symbol } kind = Symbol;
  std::wstring text;        // String: the value; Symbol: the name as typed
  std::vector<Atom> items;  // List
};

class Reader {
 public:
  explicit Reader(const std::wstring& text) : s_(text) {}

  // The next expression, or false at the end of the text.
  bool next(Atom& out) {
    skipSpace();
    if (i_ == s_.size()) return false;
    out = read();
    return true;
  }

 private:
  void skipSpace() {
    while (i_ < s_.size()) {
      if (std::iswspace(s_[i_])) {
        ++i_;
      } else if (s_[i_] == L';') {
        while (i_ < s_.size() && s_[i_] != L'\n') ++i_;
      } else {
        break;
      }
    }
  }

  Atom read() {
    wchar_t c = s_[i_];
    if (c == L')') throw LispError(L"extra right paren on input");
    Atom atom;
    if (c == L'(') {
      ++i_;
      atom.kind = Atom::List;
      while (true) {
        skipSpace();
        if (i_ == s_.size()) throw LispError(L"malformed list on input");
        if (s_[i_] == L')') {
          ++i_;
          return atom;
        }
        atom.items.push_back(read());
      }
    }
    if (c == L'"') {
      ++i_;
      atom.kind = Atom::String;
      atom.text = readString();
      return atom;
    }
    while (i_ < s_.size() && !std::iswspace(s_[i_]) && s_[i_] != L'(' && s_[i_] != L')' && s_[i_] != L'"' &&
           s_[i_] != L';')
      atom.text += s_[i_++];
    return atom;
  }

  // After the opening quote; AutoLISP's escapes: \\ \" \n \r \t \e and \nnn (octal).
  std::wstring readString() {
    std::wstring out;
    while (i_ < s_.size()) {
      wchar_t c = s_[i_++];
      if (c == L'"') return out;
      if (c != L'\\') {
        out += c;
        continue;
      }
      if (i_ == s_.size()) break;
      wchar_t e = s_[i_++];
      switch (e) {
        case L'n': out += L'\n'; break;
        case L'r': out += L'\r'; break;
        case L't': out += L'\t'; break;
        case L'e': out += L'\x1b'; break;
        default:
          if (e >= L'0' && e <= L'7') {
            unsigned code = static_cast<unsigned>(e - L'0');
            for (int k = 0; k < 2 && i_ < s_.size() && s_[i_] >= L'0' && s_[i_] <= L'7'; ++k)
              code = code * 8 + static_cast<unsigned>(s_[i_++] - L'0');
            out += static_cast<wchar_t>(code);
          } else {
            out += e;  // \\ and \" and any other character stand for themselves
          }
      }
    }
    throw LispError(L"malformed string on input");
  }

  const std::wstring& s_;
  std::size_t i_ = 0;
};

bool isNumber(const std::wstring& text) {
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  std::wcstod(text.c_str(), &end);
  return end && *end == L'\0';
}

std::wstring upper(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

// A command input: strings as they are, numbers as typed, and the value of a nested call.
std::wstring inputOf(const Atom& atom);

void evaluate(const Atom& atom) {
  if (atom.kind != Atom::List) return;  // an atom alone evaluates to itself
  if (atom.items.empty()) return;       // nil
  const Atom& head = atom.items[0];
  if (head.kind == Atom::String) throw LispError(L"bad function: \"" + head.text + L"\"");
  if (head.kind == Atom::List) throw LispError(L"bad function: (...)");
  if (!equalNoCase(head.text, L"command")) throw LispError(L"no function definition: " + upper(head.text));
  std::vector<std::wstring> inputs;
  for (std::size_t k = 1; k < atom.items.size(); ++k) inputs.push_back(inputOf(atom.items[k]));
  if (inputs.empty()) return;  // (command) only cancels
  std::wstring name = inputs[0];
  inputs.erase(inputs.begin());
  Host::get().execute(name, inputs);
}

std::wstring inputOf(const Atom& atom) {
  switch (atom.kind) {
    case Atom::String: return atom.text;
    case Atom::Symbol:
      if (isNumber(atom.text)) return atom.text;
      throw LispError(L"bad argument type: " + upper(atom.text));
    case Atom::List:
      evaluate(atom);
      throw LispError(L"bad argument type: nil");
  }
  return {};
}

}  // namespace

void evaluateLisp(const std::wstring& text) {
  Reader reader(text);
  Atom expression;
  try {
    while (reader.next(expression)) evaluate(expression);
  } catch (const LispError& e) {
    Host::get().ensureNewLine();
    Host::get().print(L"; error: " + e.message + L"\n");
  }
}

std::vector<std::wstring> pendingInput() {
  const auto& pending = Host::get().pending;
  return {pending.begin(), pending.end()};
}

void runPending() { Host::get().drainQueue(); }

}  // namespace acadhost

int ads_queueexpr(const ACHAR* expr) {
  std::wstring text = expr ? expr : L"";
  acadhost::Host::get().event(L"ads_queueexpr " + text);
  acadhost::Host::get().queueString(text);
  return RTNORM;
}
