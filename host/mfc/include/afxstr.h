// Stand-in for MFC's string class, CString (CStringW in a Unicode build): the members the
// framework stand-in's own classes need.
#pragma once

#include <wchar.h>

class CStringW {
 public:
  CStringW() { assign(L"", 0); }
  CStringW(const wchar_t* text) { assign(text ? text : L"", text ? wcslen(text) : 0); }
  CStringW(const CStringW& other) { assign(other.m_data, static_cast<size_t>(other.m_length)); }
  CStringW& operator=(const CStringW& other) {
    CStringW copy(other);
    swap(copy);
    return *this;
  }
  CStringW& operator=(const wchar_t* text) {
    CStringW copy(text);
    swap(copy);
    return *this;
  }
  ~CStringW() { delete[] m_data; }

  int GetLength() const { return m_length; }
  bool IsEmpty() const { return m_length == 0; }
  const wchar_t* GetString() const { return m_data; }
  operator const wchar_t*() const { return m_data; }

 private:
  void assign(const wchar_t* text, size_t length) {
    m_data = new wchar_t[length + 1];
    wmemcpy(m_data, text, length);
    m_data[length] = L'\0';
    m_length = static_cast<int>(length);
  }
  void swap(CStringW& other) {
    wchar_t* data = m_data;
    int length = m_length;
    m_data = other.m_data;
    m_length = other.m_length;
    other.m_data = data;
    other.m_length = length;
  }

  wchar_t* m_data;
  int m_length;
};

typedef CStringW CString;
