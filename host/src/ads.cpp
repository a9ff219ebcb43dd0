// The ADS-style C functions: command-line printing, result buffers, system variables and
// the LISP function table.
#include <cstdarg>
#include <cstdlib>
#include <cwchar>

#include "acedads.h"
#include "adscodes.h"
#include "acutads.h"
#include "host.h"

using acadhost::Host;

namespace {

wchar_t* copyString(const wchar_t* s) {
  std::size_t n = std::wcslen(s ? s : L"") + 1;
  auto* out = static_cast<wchar_t*>(std::malloc(n * sizeof(wchar_t)));
  if (out) std::wmemcpy(out, s ? s : L"", n);
  return out;
}

std::wstring varName(const ACHAR* sym) {
  std::wstring name = sym ? sym : L"";
  while (!name.empty() && (name[0] == L'_' || name[0] == L'.')) name.erase(0, 1);
  return name;
}

}  // namespace

int acutPrintf(const ACHAR* format, ...) {
  if (!format) return 0;
  std::wstring buffer(256, L'\0');
  while (true) {
    va_list ap;
    va_start(ap, format);
    int n = vswprintf(&buffer[0], buffer.size(), format, ap);
    va_end(ap);
    if (n >= 0 && static_cast<std::size_t>(n) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(n));
      break;
    }
    if (buffer.size() > (1u << 26)) return 0;
    buffer.resize(buffer.size() * 4);
  }
  Host::get().print(buffer);
  return static_cast<int>(buffer.size());
}

struct resbuf* acutNewRb(int v) {
  auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  if (rb) rb->restype = static_cast<short>(v);
  return rb;
}

int acutRelRb(struct resbuf* rb) {
  while (rb) {
    resbuf* next = rb->rbnext;
    if (rb->restype == RTSTR) std::free(rb->resval.rstring);
    std::free(rb);
    rb = next;
  }
  return RTNORM;
}

struct resbuf* acutBuildList(int rtype, ...) {
  va_list ap;
  va_start(ap, rtype);
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (int type = rtype; type != 0 && type != RTNONE; type = va_arg(ap, int)) {
    resbuf* rb = acutNewRb(type);
    if (!rb) break;
    switch (type) {
      case RTSTR: rb->resval.rstring = copyString(va_arg(ap, const wchar_t*)); break;
      case RTSHORT: rb->resval.rint = static_cast<short>(va_arg(ap, int)); break;
      case RTLONG: rb->resval.rlong = va_arg(ap, Adesk::Int32); break;
      case RTREAL: case RTANG: case RTORINT: rb->resval.rreal = va_arg(ap, double); break;
      case RTPOINT: case RT3DPOINT: {
        const double* p = va_arg(ap, const double*);
        for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = p ? p[i] : 0.0;
        break;
      }
      default: break;  // RTLB, RTLE, RTNIL, RTT, RTDOTE carry no value
    }
    *tail = rb;
    tail = &rb->rbnext;
  }
  va_end(ap);
  return head;
}

int acedGetVar(const ACHAR* sym, struct resbuf* result) {
  auto& vars = Host::get().sysvars;
  auto it = vars.find(varName(sym));
  if (it == vars.end() || !result) return RTERROR;
  result->restype = RTSTR;
  result->resval.rstring = copyString(it->second.c_str());
  return RTNORM;
}

int acedSetVar(const ACHAR* sym, const struct resbuf* val) {
  if (!val || val->restype != RTSTR || !val->resval.rstring) return RTERROR;
  auto& vars = Host::get().sysvars;
  auto it = vars.find(varName(sym));
  if (it == vars.end()) return RTERROR;
  it->second = val->resval.rstring;
  return RTNORM;
}

int acedDefun(const ACHAR* pszName, int nFuncNum) {
  Host::get().event(L"acedDefun " + std::wstring(pszName ? pszName : L""));
  Host::get().lispFunctions[pszName ? pszName : L""] = nFuncNum;
  return RTNORM;
}

int acedUndef(const ACHAR* sname, int nFuncNum) {
  (void)nFuncNum;
  Host::get().event(L"acedUndef " + std::wstring(sname ? sname : L""));
  return Host::get().lispFunctions.erase(sname ? sname : L"") ? RTNORM : RTERROR;
}

int acedRegFunc(int (*fhdl)(void), int fcode) {
  (void)fhdl;
  Host::get().event(L"acedRegFunc " + std::to_wstring(fcode));
  return RTNORM;
}

int acedGetFunCode() {
  Host::get().event(L"acedGetFunCode");
  return Host::get().funCode;
}
